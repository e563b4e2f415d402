// A stand-in for the user's editor: a shell script that records how it was
// started (its arguments, open descriptors, session) into files beside it.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/temp_tree.h"

namespace quillmark::testing {

inline constexpr std::chrono::seconds kProcessDeadline{20};

// What the program saw; each file is complete once `done` exists.
struct Recording {
  std::vector<std::string> arguments;  // without argv[0]
  std::vector<int> descriptors;        // open in the program's shell
  std::string sessionAndPid;           // "SID PID"
};

class RecordingProgram {
 public:
  // Writes the script as `name` into `tree` and makes it executable.
  RecordingProgram(const TempTree& tree, const std::string& name) : base_(tree.PathOf(name)) {
    tree.WriteFile(name,
                   "#!/bin/sh\n"
                   "out='" + base_ + "'\n"
                   "{ for a in \"$@\"; do printf '%s\\0' \"$a\"; done; } > \"$out.args\"\n"
                   "ls /proc/$$/fd > \"$out.fds\"\n"
                   "echo \"$(cut -d' ' -f6 /proc/$$/stat) $$\" > \"$out.session\"\n"
                   ": > \"$out.done\"\n");
    std::filesystem::permissions(base_, std::filesystem::perms::owner_all);
  }

  const std::string& Path() const { return base_; }

  // Polls for the recording of the one start so far, up to kProcessDeadline.
  std::optional<Recording> Wait() const {
    const auto deadline = std::chrono::steady_clock::now() + kProcessDeadline;
    while (!std::filesystem::exists(base_ + ".done")) {
      if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    Recording recording;
    const std::string arguments = ReadWholeFile(base_ + ".args");
    for (std::size_t start = 0; start < arguments.size();) {
      std::size_t end = arguments.find('\0', start);
      if (end == std::string::npos) end = arguments.size();
      recording.arguments.push_back(arguments.substr(start, end - start));
      start = end + 1;
    }
    std::istringstream descriptors(ReadWholeFile(base_ + ".fds"));
    for (int fd; descriptors >> fd;) recording.descriptors.push_back(fd);
    recording.sessionAndPid = ReadWholeFile(base_ + ".session");
    if (!recording.sessionAndPid.empty()) recording.sessionAndPid.pop_back();
    return recording;
  }

  // Makes the program ready for another start.
  void Forget() const {
    for (const char* suffix : {".args", ".fds", ".session", ".done"}) std::filesystem::remove(base_ + suffix);
  }

 private:
  std::string base_;
};

// Whether this process has no child left, running or ended but not reaped.
// Only looks (WNOWAIT), so it never reaps in another's place.
inline bool HasNoChild() {
  siginfo_t info{};
  return waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) < 0 && errno == ECHILD;
}

// Polls until no child is left, up to kProcessDeadline.
inline bool WaitUntilNoChild() {
  const auto deadline = std::chrono::steady_clock::now() + kProcessDeadline;
  while (!HasNoChild()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

}  // namespace quillmark::testing
