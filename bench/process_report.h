// The printed account of quillmark-scan as a whole process, and the
// targets it is held to there.
#pragma once

#include <vector>

#include "bench/process_runs.h"

namespace quillmark::bench {

// quillmark-scan -j N over the plain read of the same files by cat, on the
// dense tree, at most; with two cores or more. (quillmark-bench-read, one
// process reading through one buffer, is printed too: the floor no tool
// that looks at the bytes reaches.)
inline constexpr double kPlainReadTargetRatio = 1.3;
// -j N over -j 1 on any tree, at most: never slower, with 5% for the noise
// of runs that on a small tree take a few milliseconds.
inline constexpr double kParallelTargetRatio = 1.05;
// quillmark-scan -j N over rg -j N, below: ahead of a search that does far less.
inline constexpr double kByteSearchTargetRatio = 1.0;

struct ProcessReport {
  ProcessSetup setup;
  std::vector<ProcessTreeReport> trees;
};

void PrintProcessReport(const ProcessReport& report);

// Prints each target and whether it was met; false when one was missed or
// could not be measured. Left out: rg's where it is not installed, the plain
// read's on one core.
bool PrintProcessTargets(const ProcessReport& report);

}  // namespace quillmark::bench
