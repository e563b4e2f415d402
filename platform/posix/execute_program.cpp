#include "platform/execute_program.h"

#include <signal.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>

#include <cerrno>
#include <string>
#include <system_error>
#include <thread>

extern char** environ;

namespace quillmark::platform {
namespace {

// A posix_spawn settings object, destroyed with its scope.
template <typename Object, int (*Init)(Object*), int (*Destroy)(Object*)>
class SpawnSettings {
 public:
  SpawnSettings() : error_(Init(&object_)) {}
  ~SpawnSettings() {
    if (error_ == 0) Destroy(&object_);
  }
  SpawnSettings(const SpawnSettings&) = delete;
  SpawnSettings& operator=(const SpawnSettings&) = delete;

  int error() const { return error_; }
  Object* get() { return &object_; }

 private:
  Object object_;
  int error_;
};

using SpawnFileActions =
    SpawnSettings<posix_spawn_file_actions_t, posix_spawn_file_actions_init, posix_spawn_file_actions_destroy>;
using SpawnAttributes = SpawnSettings<posix_spawnattr_t, posix_spawnattr_init, posix_spawnattr_destroy>;

// Descriptors opened without O_CLOEXEC (by us or by a library) must not
// reach the editor: it could keep a pipe or a settings file open for as
// long as it runs.
int CloseInheritedDescriptors(SpawnFileActions& actions) {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
  return posix_spawn_file_actions_addclosefrom_np(actions.get(), 3);
#else
  (void)actions;
  return 0;
#endif
}

int DetachFromUs(SpawnAttributes& attributes) {
  short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
#ifdef POSIX_SPAWN_SETSID
  flags |= POSIX_SPAWN_SETSID;
#endif
#ifdef POSIX_SPAWN_CLOEXEC_DEFAULT
  flags |= POSIX_SPAWN_CLOEXEC_DEFAULT;
#endif
  sigset_t signals;
  sigemptyset(&signals);
  if (const int error = posix_spawnattr_setsigmask(attributes.get(), &signals)) return error;
  // Signals we ignore (SIGPIPE, say) stay ignored across exec otherwise.
  sigfillset(&signals);
  if (const int error = posix_spawnattr_setsigdefault(attributes.get(), &signals)) return error;
  return posix_spawnattr_setflags(attributes.get(), flags);
}

void ReapWhenItEnds(pid_t child) {
  try {
    std::thread([child] {
      while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  } catch (const std::system_error&) {
    // No thread to be had: the program runs all the same, and its exit
    // status stays behind until we end.
  }
}

}  // namespace

ExecuteResult ExecuteProgram(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return {EINVAL};

  std::vector<char*> argv;
  argv.reserve(arguments.size() + 1);
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  SpawnFileActions actions;
  SpawnAttributes attributes;
  if (actions.error() != 0) return {actions.error()};
  if (attributes.error() != 0) return {attributes.error()};
  if (const int error = CloseInheritedDescriptors(actions)) return {error};
  if (const int error = DetachFromUs(attributes)) return {error};

  pid_t child = 0;
  if (const int error = posix_spawnp(&child, argv[0], actions.get(), attributes.get(), argv.data(), environ))
    return {error};
  ReapWhenItEnds(child);
  return {};
}

ExecuteResult StartProgram(const ProgramLaunch& launch) { return ExecuteProgram(launch.arguments); }

std::string ExecuteErrorText(int error) {
  switch (error) {
    case ENOENT:
      return "File not found.";
    case ENOTDIR:
      return "Path not found. ";
    case EACCES:
      return "Access denied. ";
    case ENOMEM:
      return "Out of memory. ";
    default:
      return "Other Error (" + std::to_string(error) + ")";
  }
}


}  // namespace quillmark::platform
