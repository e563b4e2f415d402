// quillmark-scan timed as a whole process on a Shift_JIS tree, one
// thread and all the cores, findings and --log, next to a plain read of
// the same files (quillmark-bench-read, and cat) and to rg looking for any
// non-ASCII byte in them.
// Each command's output is checked once, untimed, before the timed rounds.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "bench/tree_generator.h"

namespace quillmark::bench {

enum class ProcessCommand { PlainRead, Cat, Scan, ScanParallel, Log, LogParallel, ByteSearch };
inline constexpr std::size_t kProcessCommandCount = 7;

struct ProcessSetup {
  std::string scanner;   // quillmark-scan
  std::string reader;    // quillmark-bench-read
  unsigned threads = 1;  // the cores: N of -j N
  // False while quillmark-scan knows no -j: Scan and Log then run without
  // it, and the parallel commands are left out.
  bool scannerTakesThreads = false;
  std::optional<std::string> byteSearcher;  // rg, where installed
};

// Finds out what quillmark-scan takes and whether rg is installed; throws
// std::runtime_error when quillmark-scan cannot be started.
ProcessSetup DetectProcessSetup(const std::string& scanner, const std::string& reader);

// One command's times, round by round; no rounds when it was not run.
struct CommandTimes {
  std::string label;
  std::vector<double> seconds;
  std::vector<double> cpuSeconds;  // of the command and the processes it waited for
  long peakKib = 0;                // the largest over the rounds
};

// Which targets a tree is held to, besides -j N never slower than -j 1.
struct ProcessTargets {
  bool plainRead = false;   // -j N within a factor of the plain read
  bool byteSearch = false;  // -j N ahead of rg
};

struct ProcessTree {
  std::string name;
  std::string root;  // Shift_JIS sources only
  TreeStats stats;
  int rounds = 0;
  ProcessTargets targets;
};

struct ProcessTreeReport {
  ProcessTree tree;
  std::array<CommandTimes, kProcessCommandCount> commands;

  const CommandTimes& operator[](ProcessCommand command) const { return commands[static_cast<std::size_t>(command)]; }
};

// Checks each command's output once, then times `tree.rounds` rounds, each
// running every command once, in turn, one further on at each round, so
// that a slow spell of the machine falls on all. Output files for the
// checks go into `workFolder` and are removed after; what differs from the
// tree is added to `problems`.
ProcessTreeReport TimeProcesses(const ProcessSetup& setup, const ProcessTree& tree, const std::string& workFolder,
                                std::string& problems);

}  // namespace quillmark::bench
