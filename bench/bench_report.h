// The printed account of one quillmark-bench-engine run.
#pragma once

#include "bench/engine_runs.h"
#include "bench/tree_generator.h"

namespace quillmark::bench {

inline constexpr double kTargetRatio = 1.0 / 3.0;  // engine speed over plain reading speed

// Peak resident sizes (ru_maxrss) in KiB, in the order they were taken.
struct MemoryReadings {
  long atStart = 0;
  long afterQuarterEngine = 0;  // the engine once on the quarter tree
  long afterGeneration = 0;     // of the full tree
  long afterEngine = 0;         // every timed engine run on the full tree
};

struct BenchReport {
  int runs = 0;
  GeneratedTree tree;
  TreeStats quarter;
  double plainSeconds = 0;  // best run
  EngineRun findingsOnly;   // best run
  EngineRun tracing;        // best run
  MemoryReadings memory;
};

// Engine (findings only) throughput over plain reading throughput.
double SpeedRatio(const BenchReport& report);

void PrintReport(const BenchReport& report);

}  // namespace quillmark::bench
