// The printed account of one quillmark-bench-engine run.
#pragma once

#include "bench/engine_runs.h"
#include "bench/tree_generator.h"

namespace quillmark::bench {

inline constexpr double kTargetRatio = 1.0 / 3.0;  // engine speed over plain reading speed
inline constexpr double kAutoTargetRatio = 1.25;  // AUTO's time over SJIS's on a mixed tree, at most

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

// How far a walk's peak resident size rose above the resident size when
// it began, the peak reset first; the largest over its runs.
struct WalkMemory {
  bool measured = false;  // false when the peak could not be reset
  long startKib = 0;
  long growthKib = 0;
};

// The same bytes searched by the engine that detects each file's encoding,
// by the Shift_JIS engine, and by each encoding's engine on the files
// written in it.
struct MixedReport {
  int runs = 0;
  MixedTree tree;
  double generationSeconds = 0;
  double plainSeconds = 0;  // best run
  EngineRun autoRun;        // best run, findings only
  EngineRun sjisRun;        // best run, findings only
  EngineRun sortedRun;      // best run, findings only: each encoding's engine on its sorted links
  TraceTally autoTally;     // untimed traced walks
  TraceTally sjisTally;
  WalkMemory autoMemory;
  WalkMemory sjisMemory;
};

// Engine (findings only) throughput over plain reading throughput.
double SpeedRatio(const BenchReport& report);

// AUTO's time over SJIS's.
double AutoRatio(const MixedReport& report);

// AUTO's time over that of each encoding's engine on its own files.
double AutoOverSortedRatio(const MixedReport& report);

void PrintReport(const BenchReport& report);

void PrintMixedReport(const MixedReport& report);

}  // namespace quillmark::bench
