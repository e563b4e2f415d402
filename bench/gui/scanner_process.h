// Runs quillmark-scan as its own process, the way a script would, and
// times it.
#pragma once

#include <string>
#include <vector>

namespace quillmark::bench {

struct ScannerRun {
  double seconds = 0;
  int exitStatus = -1;
};

// Runs `program` with `arguments`, its output sent to /dev/null.
ScannerRun RunScannerProcess(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace quillmark::bench
