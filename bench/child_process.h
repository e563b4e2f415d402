// Runs a program as a process of its own, as a script would, and times it
// from the outside: the wall clock from start to exit, and the CPU time of
// the process and of every child it waited for.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillmark::bench {

// Where the child's standard streams go; standard error stays the
// benchmark's own when `errors` is empty.
struct ChildStreams {
  std::string input = "/dev/null";
  std::string output = "/dev/null";  // created or truncated
  std::string errors;
};

struct ChildRun {
  bool started = false;
  int exitStatus = -1;  // -1 when it did not exit by itself
  double seconds = 0;
  double cpuSeconds = 0;  // user and system
  long peakKib = 0;       // the largest resident size of the process it waited for
};

// `command[0]` is looked up on PATH unless it holds a '/'.
ChildRun RunChild(const std::vector<std::string>& command, const ChildStreams& streams);

// The executable PATH names first for `program`, as `command -v` finds it.
std::optional<std::string> FindOnPath(std::string_view program);

}  // namespace quillmark::bench
