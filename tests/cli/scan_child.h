// quillmark-scan run as a child process without a shell: its outputs
// through pipes, its exit status or signal, and its peak memory.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>
#include <vector>

namespace quillmark::testing {

struct ScanChild {
  int status = -1;  // the exit status, or -1 when a signal ended it
  int signal = 0;
  std::string out;
  std::string err;
  long maxRssKiB = 0;
};

struct ScanLimits {
  // RLIMIT_FSIZE of the child, with SIGXFSZ at its default action: a write
  // to any file beyond it kills the child. Pipes are not limited.
  rlim_t fileSizeLimit = RLIM_INFINITY;
  // RLIMIT_AS of the child: allocations beyond it fail.
  rlim_t addressSpaceLimit = RLIM_INFINITY;
  // The child's working folder, which must be empty, is removed once the
  // child stands in it.
  bool removeFolder = false;
};

inline ScanChild RunScanChild(const std::vector<std::string>& arguments, const std::string& folder,
                              ScanLimits limits = {}) {
  int outPipe[2];
  int errPipe[2];
  if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0) return {};
  std::vector<std::string> argvStrings = {QUILLMARK_SCAN_PATH};
  argvStrings.insert(argvStrings.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& argument : argvStrings) argv.push_back(argument.data());
  argv.push_back(nullptr);

  const pid_t pid = fork();
  if (pid == 0) {
    const int null = ::open("/dev/null", O_RDONLY);
    if (null < 0 || dup2(null, 0) < 0 || dup2(outPipe[1], 1) < 0 || dup2(errPipe[1], 2) < 0) _exit(126);
    if (chdir(folder.c_str()) != 0) _exit(126);
    if (limits.removeFolder && rmdir(folder.c_str()) != 0) _exit(126);
    rlimit addressSpace{limits.addressSpaceLimit, limits.addressSpaceLimit};
    if (limits.addressSpaceLimit != RLIM_INFINITY && setrlimit(RLIMIT_AS, &addressSpace) != 0) _exit(126);
    std::signal(SIGXFSZ, SIG_DFL);
    rlimit fileSize{limits.fileSizeLimit, limits.fileSizeLimit};
    if (limits.fileSizeLimit != RLIM_INFINITY && setrlimit(RLIMIT_FSIZE, &fileSize) != 0) _exit(126);
    execv(argv[0], argv.data());
    _exit(127);
  }
  ::close(outPipe[1]);
  ::close(errPipe[1]);
  ScanChild child;
  pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  std::string* sinks[2] = {&child.out, &child.err};
  int open = 2;
  char buffer[64 * 1024];
  while (open > 0 && pid > 0) {
    if (poll(fds, 2, -1) < 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      const ssize_t count = ::read(fds[i].fd, buffer, sizeof buffer);
      if (count > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(count));
      } else {
        ::close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
  int raw = 0;
  rusage usage{};
  if (pid > 0 && wait4(pid, &raw, 0, &usage) == pid) {
    child.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    child.signal = WIFSIGNALED(raw) ? WTERMSIG(raw) : 0;
    child.maxRssKiB = usage.ru_maxrss;
  }
  return child;
}

}  // namespace quillmark::testing
