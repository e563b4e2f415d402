// A shell command run to its end, for tests that hand files to real tools.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace quillmark::testing {

struct CommandResult {
  int status = -1;
  std::string output;  // standard output, and standard error when asked for
};

inline CommandResult RunCommand(const std::string& command, bool withStderr = true) {
  CommandResult result;
  FILE* pipe = popen((command + (withStderr ? " 2>&1" : " 2>/dev/null")).c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  while (const std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) result.output.append(buffer, n);
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace quillmark::testing
