// Passes of the engine over a generated tree, each encoding's folder with
// its own engine, or a mixed tree with one engine, and the checks of what
// a pass met against the tree.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "bench/bench_hosts.h"
#include "bench/tree_generator.h"

namespace quillmark::bench {

struct EngineRun {
  double seconds = 0;
  double cpuSeconds = 0;  // of the process, user and system; RunWalk and RunSortedWalks only
  double sjisSeconds = 0;
  double eucSeconds = 0;
  std::uint64_t findings = 0;
  std::uint64_t traceBytes = 0;  // with full tracing only
  std::uint64_t traceLines = 0;  // with full tracing only
  bool completed = true;         // both walks reached their end
};

// Trace lines are dropped, findings only counted.
EngineRun RunFindingsOnly(const GeneratedTree& tree);

// Every trace line is written, with its LF, to `traceOut`.
EngineRun RunFullTracing(const GeneratedTree& tree, std::FILE* traceOut);

// One walk of `root` by the engine for `encoding` ("SJIS", "AUTO", ...),
// findings only; the time and findings land in `seconds` and `findings`.
EngineRun RunWalk(const char* encoding, const std::string& root);

// The engine for each encoding over the sorted links of its files, in
// turn, findings only.
EngineRun RunSortedWalks(const MixedTree& tree);

// One traced walk, tallied: slower than a findings-only walk, so untimed.
TraceTally TallyWalk(const char* encoding, const std::string& root);

// A walk traces each folder and each file once, each non-empty literal
// once more, and each finding once more.
std::uint64_t ExpectedTraceLines(const TreeStats& stats);

// What in `run` differs from what the tree holds; empty when nothing does.
std::string CheckRun(const EngineRun& run, const TreeStats& expected, bool traced);

}  // namespace quillmark::bench
