// The command line of quillmark-bench-engine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quillmark::bench {

struct BenchOptions {
  std::uint64_t megabytes = 128;  // MiB of sources, half Shift_JIS, half EUC-JP
  std::size_t folders = 0;        // 0: two per MiB, at least 8
  std::uint64_t seed = 1;
  std::uint32_t plainPercent = 0;  // share of body lines with no literal, on top of the mix
  std::string scanner;             // quillmark-scan, timed as a whole process; empty: the one built alongside
  bool requireTarget = false;      // exit with failure when a speed target is missed
  bool help = false;
};

struct ParsedBenchOptions {
  BenchOptions options;
  std::string error;  // empty when the arguments were understood
};

ParsedBenchOptions ParseBenchOptions(const std::vector<std::string>& arguments);

std::string BenchHelpText();

}  // namespace quillmark::bench
