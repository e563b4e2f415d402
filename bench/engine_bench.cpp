// quillmark-bench-engine: how fast the engine scans a big generated tree,
// next to plain reading of the same files, and whether its memory stays
// flat as the tree grows; then what detecting each file's encoding costs
// on a tree of mixed encodings; then quillmark-scan as a whole process,
// on one core and on all, next to plain reading and rg over the same files.

#include <malloc.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "bench/bench_options.h"
#include "bench/bench_report.h"
#include "bench/engine_runs.h"
#include "bench/interrupt.h"
#include "bench/plain_reader.h"
#include "bench/process_report.h"
#include "bench/process_runs.h"
#include "bench/temp_folder.h"
#include "bench/tree_generator.h"
#include "engine/search_setup.h"
#include "platform/path.h"

namespace quillmark::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRuns = 3;
// Whole processes: a run on a small tree takes milliseconds, so more of them.
constexpr int kProcessRounds = 5;
constexpr int kSmallTreeRounds = 11;
constexpr int kSparsePlainPercent = 90;               // about one finding in twenty lines
constexpr std::uint64_t kSmallTreeBytes = 96 * 1024;  // a few files

constexpr int kSucceeded = 0;
constexpr int kWrongCounts = 1;
constexpr int kFailed = 2;
constexpr int kTargetMissed = 3;
constexpr int kInterrupted = 130;

struct Interrupted {};

void StopIfInterrupted() {
  if (InterruptRequested()) throw Interrupted{};
}

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

double Mib(std::uint64_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

unsigned long long Count(std::uint64_t value) { return static_cast<unsigned long long>(value); }

long PeakRssKib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;  // KiB on Linux
}

// Brings the peak resident size down to the present one (Linux 4.0 on), so
// that one walk's peak can be told from everything before it.
bool ResetPeakRss() {
  std::FILE* file = std::fopen("/proc/self/clear_refs", "w");
  if (file == nullptr) return false;
  const bool written = std::fputs("5", file) >= 0;
  return std::fclose(file) == 0 && written;
}

std::FILE* OpenTraceOutput() {
  std::FILE* out = std::fopen("/dev/null", "w");
  if (out == nullptr) throw std::runtime_error("cannot open /dev/null");
  static char buffer[1 << 16];  // as quillmark-scan buffers its output
  std::setvbuf(out, buffer, _IOFBF, sizeof buffer);
  return out;
}

std::uint64_t WarmPageCache(const GeneratedTree& tree, std::vector<char>& buffer) {
  const std::vector<std::string> extensions = engine::BuildExtensionList(kSourceExtensions);
  return ReadSourceTree(tree.sjisRoot, extensions, buffer) + ReadSourceTree(tree.eucRoot, extensions, buffer);
}

// The fastest of kRuns passes; every pass is checked, the first problem kept.
template <class Pass>
EngineRun BestEngineRun(const TreeStats& expected, bool traced, std::string& problems, Pass pass) {
  EngineRun best;
  for (int i = 0; i < kRuns; ++i) {
    const EngineRun run = pass();
    StopIfInterrupted();
    if (problems.empty()) problems = CheckRun(run, expected, traced);
    if (i == 0 || run.seconds < best.seconds) best = run;
  }
  return best;
}

// Timed without the walk: the file list is made before the clock starts.
double BestPlainReading(const std::vector<std::string>& roots, std::uint64_t expectedBytes, std::vector<char>& buffer,
                        std::string& problems) {
  const std::vector<std::string> extensions = engine::BuildExtensionList(kSourceExtensions);
  std::vector<std::string> files;
  for (const std::string& root : roots)
    for (std::string& path : ListSourceFiles(root, extensions)) files.push_back(std::move(path));
  double best = 0;
  for (int i = 0; i < kRuns; ++i) {
    const Clock::time_point start = Clock::now();
    const std::uint64_t read = ReadFiles(files, buffer);
    const double seconds = SecondsSince(start);
    StopIfInterrupted();
    if (read != expectedBytes && problems.empty()) problems = " plain reading read " + std::to_string(read) + " bytes;";
    if (i == 0 || seconds < best) best = seconds;
  }
  return best;
}

TreeShape SpecFor(const BenchOptions& options) {
  TreeShape shape;
  shape.totalBytes = options.megabytes << 20;
  shape.folderCount = options.folders != 0 ? options.folders : std::max<std::size_t>(8, options.megabytes * 2);
  shape.seed = options.seed;
  shape.plainLinePercent = static_cast<int>(options.plainPercent);
  return shape;
}

// Runs `walk` with the peak resident size reset first, and keeps in
// `memory` the largest rise above the size at its start. Free heap memory
// is handed back first, so that the rise is what the walk allocates, not
// less for pages an earlier phase left resident.
template <class Walk>
EngineRun MeasuredWalk(WalkMemory& memory, Walk walk) {
  malloc_trim(0);
  const bool reset = ResetPeakRss();
  const long start = PeakRssKib();
  const EngineRun run = walk();
  const long growth = PeakRssKib() - start;
  if (reset && (!memory.measured || growth > memory.growthKib)) {
    memory.measured = true;
    memory.startKib = start;
    memory.growthKib = growth;
  }
  return run;
}

std::string CheckMixed(const MixedReport& report) {
  const MixedTree& tree = report.tree;
  const TreeStats& all = tree.all;
  std::string problems;
  for (const auto& [name, run] : {std::pair{"AUTO's walk", report.autoRun}, std::pair{"SJIS's walk", report.sjisRun},
                                  std::pair{"a walk by encoding", report.sortedRun}})
    if (!run.completed) problems += std::string(" on the mixed tree ") + name + " did not reach its end;";
  if (report.autoRun.findings != all.findings)
    problems += " AUTO findings " + std::to_string(report.autoRun.findings) + ", expected " +
                std::to_string(all.findings) + ";";
  if (report.sortedRun.findings != all.findings)
    problems += " findings of each encoding's engine " + std::to_string(report.sortedRun.findings) + ", expected " +
                std::to_string(all.findings) + ";";
  const TraceTally& tally = report.autoTally;
  if (tally.asciiFiles != tree.ascii.files || tally.sjisFiles != tree.sjis.files || tally.eucFiles != tree.euc.files ||
      tally.utf8Files != tree.utf8.files)
    problems += " AUTO read the mixed tree's files in other encodings than they are written in;";
  // Each file is traced once more than in a fixed encoding: its encoding.
  const std::uint64_t expectedLines = ExpectedTraceLines(all) + all.files;
  if (tally.traceLines != expectedLines)
    problems += " AUTO trace lines " + std::to_string(tally.traceLines) + ", expected " +
                std::to_string(expectedLines) + ";";
  if (tally.errorLines != 0 || !tally.completed) problems += " AUTO traced errors in the mixed tree;";
  return problems;
}

MixedReport RunMixedBenchmark(const TreeShape& shape, const TempFolder& temp, std::vector<char>& buffer,
                              std::string& problems) {
  MixedTreeShape mixedShape;
  mixedShape.tree = shape;
  // One file far larger than the rest: AUTO holds a whole file to look at
  // its bytes, so its peak memory should follow this file, not the tree.
  // ASCII, so that the share of Japanese bytes stays that of the files.
  mixedShape.largeFileBytes = std::min<std::uint64_t>(8ull << 20, std::max<std::uint64_t>(shape.totalBytes / 16, 1));

  MixedReport report;
  report.runs = kRuns;
  const Clock::time_point generationStart = Clock::now();
  report.tree = GenerateMixedTree(platform::JoinPath(temp.Path(), "mixed"), platform::JoinPath(temp.Path(), "sorted"),
                                  mixedShape);
  report.generationSeconds = SecondsSince(generationStart);
  StopIfInterrupted();
  const std::string& root = report.tree.root;
  const std::uint64_t warmed = ReadSourceTree(root, engine::BuildExtensionList(kSourceExtensions), buffer);
  if (warmed != report.tree.all.bytes) problems += " mixed tree warming read " + std::to_string(warmed) + " bytes;";

  // Alternated, so that a slow spell of the machine falls on all three.
  for (int i = 0; i < kRuns; ++i) {
    const EngineRun autoRun = MeasuredWalk(report.autoMemory, [&] { return RunWalk("AUTO", root); });
    StopIfInterrupted();
    const EngineRun sjisRun = MeasuredWalk(report.sjisMemory, [&] { return RunWalk("SJIS", root); });
    StopIfInterrupted();
    const EngineRun sortedRun = RunSortedWalks(report.tree);
    StopIfInterrupted();
    if (i == 0 || autoRun.seconds < report.autoRun.seconds) report.autoRun = autoRun;
    if (i == 0 || sjisRun.seconds < report.sjisRun.seconds) report.sjisRun = sjisRun;
    if (i == 0 || sortedRun.seconds < report.sortedRun.seconds) report.sortedRun = sortedRun;
  }
  report.autoTally = TallyWalk("AUTO", root);
  report.sjisTally = TallyWalk("SJIS", root);
  StopIfInterrupted();
  report.plainSeconds = BestPlainReading({root}, report.tree.all.bytes, buffer, problems);
  problems += CheckMixed(report);
  return report;
}

// The scanner's figures on Shift_JIS alone, its default and the window's
// usual encoding: one engine, so that each file costs what the tree's mix
// of literals makes it cost, and the plain read covers the bytes scanned. AUTO
// on a mixed tree would mostly time the detection, compared in-process
// above. The dense and the sparse tree are each as big as one encoding's
// half of the full tree, whatever --plain says.
ProcessReport RunProcessBenchmark(const BenchOptions& options, const TreeShape& shape, const TempFolder& temp,
                                  std::string& problems) {
  ProcessReport report;
  report.setup =
      DetectProcessSetup(options.scanner.empty() ? QUILLMARK_SCAN_PATH : options.scanner, QUILLMARK_BENCH_READ_PATH);
  TreeShape dense = shape;
  dense.totalBytes = std::max<std::uint64_t>(shape.totalBytes / 2, 1);
  dense.folderCount = std::max<std::size_t>(shape.folderCount / 2, 2);
  dense.plainLinePercent = 0;
  TreeShape sparse = dense;
  sparse.plainLinePercent = kSparsePlainPercent;
  TreeShape small = dense;
  small.totalBytes = kSmallTreeBytes;
  small.folderCount = 2;
  const std::tuple<const char*, TreeShape, int, ProcessTargets> trees[] = {
      {"dense", dense, kProcessRounds, ProcessTargets{true, true}},
      {"sparse", sparse, kProcessRounds, ProcessTargets{false, true}},
      {"small", small, kSmallTreeRounds, ProcessTargets{false, false}}};
  for (const auto& [name, treeShape, rounds, targets] : trees) {
    ProcessTree tree{name, platform::JoinPath(temp.Path(), std::string("process-") + name), {}, rounds, targets};
    tree.stats = GenerateShiftJisTree(tree.root, treeShape);
    StopIfInterrupted();
    report.trees.push_back(TimeProcesses(report.setup, tree, temp.Path(), problems));
    StopIfInterrupted();
  }
  return report;
}

int RunBenchmark(const BenchOptions& options) {
  const TreeShape shape = SpecFor(options);
  TempFolder temp("quillmark-bench");
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> traceOut(OpenTraceOutput(), std::fclose);
  std::vector<char> buffer(kPlainReadChunk);
  std::string problems;
  BenchReport report;
  report.runs = kRuns;

  std::printf("quillmark-bench-engine: %llu MiB of sources, %zu folders, seed %llu\n", Count(options.megabytes),
              shape.folderCount, Count(shape.seed));
  std::printf("temporary folder: %s\n\n", temp.Path().c_str());
  report.memory.atStart = PeakRssKib();

  // The engine once on a quarter of the tree first: its peak memory then,
  // next to its peak after the whole tree, shows whether memory grows with
  // the tree. Trees stay until the temporary folder goes, as removing one
  // costs memory of its own.
  TreeShape quarterSpec = shape;
  quarterSpec.totalBytes = std::max<std::uint64_t>(shape.totalBytes / 4, 1);
  quarterSpec.folderCount = std::max<std::size_t>(shape.folderCount / 4, 2);
  const GeneratedTree quarter = GenerateTree(platform::JoinPath(temp.Path(), "quarter"), quarterSpec);
  report.quarter = CombineStats(quarter.sjis, quarter.euc);
  WarmPageCache(quarter, buffer);
  StopIfInterrupted();
  const EngineRun quarterFindingsOnly = RunFindingsOnly(quarter);
  const EngineRun quarterTracing = RunFullTracing(quarter, traceOut.get());
  StopIfInterrupted();
  problems += CheckRun(quarterFindingsOnly, report.quarter, false) + CheckRun(quarterTracing, report.quarter, true);
  report.memory.afterQuarterEngine = PeakRssKib();
  std::printf("quarter tree: %.1f MiB in %llu files, %llu folders; engine once, findings only then full tracing: "
              "%llu findings, %.2f s\n",
              Mib(report.quarter.bytes), Count(report.quarter.files), Count(report.quarter.folders),
              Count(quarterFindingsOnly.findings), quarterFindingsOnly.seconds + quarterTracing.seconds);

  const Clock::time_point generationStart = Clock::now();
  report.tree = GenerateTree(platform::JoinPath(temp.Path(), "full"), shape);
  const double generationSeconds = SecondsSince(generationStart);
  report.memory.afterGeneration = PeakRssKib();
  StopIfInterrupted();
  const GeneratedTree& tree = report.tree;
  const TreeStats stats = CombineStats(tree.sjis, tree.euc);
  std::printf("full tree: %.1f MiB in %llu files (SJIS %.1f MiB in %llu, EUC %.1f MiB in %llu), %llu folders, "
              "%llu lines; generated in %.2f s\n",
              Mib(stats.bytes), Count(stats.files), Mib(tree.sjis.bytes), Count(tree.sjis.files), Mib(tree.euc.bytes),
              Count(tree.euc.files), Count(stats.folders), Count(stats.lines), generationSeconds);

  const std::uint64_t warmed = WarmPageCache(tree, buffer);
  StopIfInterrupted();
  if (warmed != stats.bytes) problems += " warming read " + std::to_string(warmed) + " bytes;";
  std::printf("page cache warmed: %.1f MiB read once\n\n", Mib(warmed));

  report.findingsOnly = BestEngineRun(stats, false, problems, [&] { return RunFindingsOnly(tree); });
  report.tracing = BestEngineRun(stats, true, problems, [&] { return RunFullTracing(tree, traceOut.get()); });
  report.memory.afterEngine = PeakRssKib();
  // Only now, so that its file list does not count in the engine's peak.
  report.plainSeconds = BestPlainReading({tree.sjisRoot, tree.eucRoot}, stats.bytes, buffer, problems);

  PrintReport(report);
  std::printf("\n");
  std::fflush(stdout);

  const MixedReport mixed = RunMixedBenchmark(shape, temp, buffer, problems);
  PrintMixedReport(mixed);
  std::printf("\n");
  std::fflush(stdout);

  const ProcessReport processes = RunProcessBenchmark(options, shape, temp, problems);
  PrintProcessReport(processes);
  std::printf("\n");
  const bool processTargetsMet = PrintProcessTargets(processes);
  if (!problems.empty()) {
    std::printf("\nWRONG COUNTS:%s\n", problems.c_str());
    return kWrongCounts;
  }
  const bool missed = SpeedRatio(report) < kTargetRatio || AutoRatio(mixed) > kAutoTargetRatio || !processTargetsMet;
  return options.requireTarget && missed ? kTargetMissed : kSucceeded;
}

}  // namespace
}  // namespace quillmark::bench

int main(int argc, char** argv) {
  using namespace quillmark::bench;
  const ParsedBenchOptions parsed = ParseBenchOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "quillmark-bench-engine: %s\n%s", parsed.error.c_str(), BenchHelpText().c_str());
    return kFailed;
  }
  if (parsed.options.help) {
    std::fputs(BenchHelpText().c_str(), stdout);
    return kSucceeded;
  }
  CatchInterrupts();
  try {
    return RunBenchmark(parsed.options);
  } catch (const Interrupted&) {
    std::fprintf(stderr, "quillmark-bench-engine: interrupted\n");
    return kInterrupted;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "quillmark-bench-engine: %s\n", error.what());
    return kFailed;
  }
}
