#include "bench/child_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>

#include "platform/path.h"

extern char** environ;

namespace quillmark::bench {
namespace {

double Seconds(const timeval& time) {
  return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

void Redirect(posix_spawn_file_actions_t& actions, int descriptor, const std::string& path, int flags) {
  if (!path.empty()) posix_spawn_file_actions_addopen(&actions, descriptor, path.c_str(), flags, 0644);
}

}  // namespace

ChildRun RunChild(const std::vector<std::string>& command, const ChildStreams& streams) {
  std::vector<char*> argv;
  for (const std::string& argument : command) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  Redirect(actions, STDIN_FILENO, streams.input, O_RDONLY);
  Redirect(actions, STDOUT_FILENO, streams.output, O_WRONLY | O_CREAT | O_TRUNC);
  Redirect(actions, STDERR_FILENO, streams.errors, O_WRONLY | O_CREAT | O_TRUNC);

  ChildRun run;
  const auto start = std::chrono::steady_clock::now();
  pid_t child = -1;
  const int error = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return run;
  run.started = true;
  int status = 0;
  rusage usage{};
  while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.cpuSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
  run.peakKib = usage.ru_maxrss;
  run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::optional<std::string> FindOnPath(std::string_view program) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return std::nullopt;
  std::string_view folders = path;
  while (true) {
    const std::size_t colon = folders.find(':');
    const std::string_view folder = folders.substr(0, colon);
    const std::string candidate = platform::JoinPath(folder.empty() ? "." : folder, program);
    struct stat status {};
    if (::stat(candidate.c_str(), &status) == 0 && S_ISREG(status.st_mode) && ::access(candidate.c_str(), X_OK) == 0)
      return candidate;
    if (colon == std::string_view::npos) return std::nullopt;
    folders.remove_prefix(colon + 1);
  }
}

}  // namespace quillmark::bench
