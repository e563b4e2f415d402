#include "bench/bench_report.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace quillmark::bench {
namespace {

double Mib(std::uint64_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

unsigned long long Count(std::uint64_t value) { return static_cast<unsigned long long>(value); }

void PrintRate(const char* label, double seconds, std::uint64_t bytes) {
  std::printf("  %-28s %9.4f s %9.1f MiB/s\n", label, seconds, Mib(bytes) / seconds);
}

void PrintEncodings(const EngineRun& run, const GeneratedTree& tree) {
  std::printf("    SJIS %.4f s %.1f MiB/s, EUC %.4f s %.1f MiB/s\n", run.sjisSeconds,
              Mib(tree.sjis.bytes) / run.sjisSeconds, run.eucSeconds, Mib(tree.euc.bytes) / run.eucSeconds);
}

void PrintMemory(const MemoryReadings& memory, const TreeStats& stats, const TreeStats& quarter) {
  std::printf("peak memory (ru_maxrss)\n");
  std::printf("  at start                                %7ld KiB\n", memory.atStart);
  std::printf("  after the engine on the quarter tree    %7ld KiB\n", memory.afterQuarterEngine);
  std::printf("  after generating the full tree          %7ld KiB\n", memory.afterGeneration);
  std::printf("  after the engine on the full tree       %7ld KiB\n", memory.afterEngine);
  std::printf("  growth from the quarter tree to the full tree (%.1fx the bytes): %+ld KiB, %+ld KiB of it in the "
              "engine runs\n",
              static_cast<double>(stats.bytes) / static_cast<double>(std::max<std::uint64_t>(quarter.bytes, 1)),
              memory.afterEngine - memory.afterQuarterEngine, memory.afterEngine - memory.afterGeneration);
}

}  // namespace

double SpeedRatio(const BenchReport& report) { return report.plainSeconds / report.findingsOnly.seconds; }

double AutoRatio(const MixedReport& report) { return report.autoRun.seconds / report.sjisRun.seconds; }

double AutoOverSortedRatio(const MixedReport& report) { return report.autoRun.seconds / report.sortedRun.seconds; }

void PrintReport(const BenchReport& report) {
  const TreeStats stats = CombineStats(report.tree.sjis, report.tree.euc);

  std::printf("best of %d runs over %.1f MiB\n", report.runs, Mib(stats.bytes));
  PrintRate("plain reading (256 KiB)", report.plainSeconds, stats.bytes);
  PrintRate("engine, findings only", report.findingsOnly.seconds, stats.bytes);
  PrintEncodings(report.findingsOnly, report.tree);
  PrintRate("engine, full tracing", report.tracing.seconds, stats.bytes);
  PrintEncodings(report.tracing, report.tree);
  std::printf("\n");

  std::printf("findings: %llu (expected %llu); literals checked: %llu\n", Count(report.findingsOnly.findings),
              Count(stats.findings), Count(stats.literals));
  std::printf("trace: %llu bytes (%.1f MiB) in %llu lines (expected %llu lines)\n", Count(report.tracing.traceBytes),
              Mib(report.tracing.traceBytes), Count(report.tracing.traceLines), Count(ExpectedTraceLines(stats)));
  std::printf("files: %llu scanned, %llu skipped for their extension; folders: %llu\n\n", Count(stats.files),
              Count(stats.otherFiles), Count(stats.folders));

  PrintMemory(report.memory, stats, report.quarter);
  std::printf("\n");

  const double ratio = SpeedRatio(report);
  std::printf("engine (findings only) / plain reading throughput: %.3f; target at least %.3f: %s\n", ratio,
              kTargetRatio, ratio >= kTargetRatio ? "met" : "NOT MET");
}

void PrintMixedReport(const MixedReport& report) {
  const MixedTree& tree = report.tree;
  const TreeStats& all = tree.all;
  std::printf("mixed tree: %.1f MiB in %llu files, %llu folders, %llu lines; generated in %.2f s\n", Mib(all.bytes),
              Count(all.files), Count(all.folders), Count(all.lines), report.generationSeconds);
  std::printf("  ASCII  %7.1f MiB in %llu files, the largest %.1f MiB\n", Mib(tree.ascii.bytes),
              Count(tree.ascii.files), Mib(tree.largestFileBytes));
  std::printf("  SJIS   %7.1f MiB in %llu files\n", Mib(tree.sjis.bytes), Count(tree.sjis.files));
  std::printf("  EUC    %7.1f MiB in %llu files\n", Mib(tree.euc.bytes), Count(tree.euc.files));
  std::printf("  UTF-8  %7.1f MiB in %llu files, %llu with a byte-order mark\n\n", Mib(tree.utf8.bytes),
              Count(tree.utf8.files), Count(tree.utf8BomFiles));

  std::printf("best of %d runs over the mixed tree, with the CPU time of each best run\n", report.runs);
  PrintRate("plain reading (256 KiB)", report.plainSeconds, all.bytes);
  PrintRate("engine AUTO, findings only", report.autoRun.seconds, all.bytes);
  std::printf("    CPU %.4f s\n", report.autoRun.cpuSeconds);
  PrintRate("engine SJIS, findings only", report.sjisRun.seconds, all.bytes);
  std::printf("    CPU %.4f s\n", report.sjisRun.cpuSeconds);
  PrintRate("each encoding's engine", report.sortedRun.seconds, all.bytes);
  std::printf("    CPU %.4f s; SJIS, EUC and UTF8 in turn, each on links to the files written in it\n\n",
              report.sortedRun.cpuSeconds);

  const TraceTally& detected = report.autoTally;
  std::printf("AUTO: %llu findings (expected %llu), each encoding's engine %llu\n", Count(report.autoRun.findings),
              Count(all.findings), Count(report.sortedRun.findings));
  std::printf("AUTO read as ASCII %llu, SJIS-JP %llu, EUC-JP %llu, UTF-8 %llu files\n", Count(detected.asciiFiles),
              Count(detected.sjisFiles), Count(detected.eucFiles), Count(detected.utf8Files));
  // A Shift_JIS lead byte may swallow the closing quote of an EUC-JP or
  // UTF-8 literal and end the file's scan there: SJIS then reads less.
  std::printf("SJIS: %llu findings; scan ended early in %llu of the %llu EUC-JP and UTF-8 files (%.1f MiB in all)\n",
              Count(report.sjisRun.findings), Count(report.sjisTally.filesEndedEarly),
              Count(tree.euc.files + tree.utf8.files), Mib(report.sjisTally.bytesOfFilesEndedEarly));
  std::printf("peak memory of a walk (ru_maxrss, reset before each run), above the resident size at its start\n");
  for (const auto& [name, memory] : {std::pair{"AUTO", report.autoMemory}, std::pair{"SJIS", report.sjisMemory}}) {
    if (memory.measured)
      std::printf("  %s  %+7ld KiB over %ld KiB\n", name, memory.growthKib, memory.startKib);
    else
      std::printf("  %s  not measured: the peak could not be reset\n", name);
  }
  std::printf("  largest file      %7llu KiB\n\n", Count((tree.largestFileBytes + 1023) / 1024));

  const double ratio = AutoRatio(report);
  std::printf("engine AUTO / each encoding's engine time: %.3f (CPU %.3f)\n", AutoOverSortedRatio(report),
              report.autoRun.cpuSeconds / report.sortedRun.cpuSeconds);
  std::printf("engine AUTO / engine SJIS time: %.3f (CPU %.3f); target at most %.2f: %s\n", ratio,
              report.autoRun.cpuSeconds / report.sjisRun.cpuSeconds, kAutoTargetRatio,
              ratio <= kAutoTargetRatio ? "met" : "NOT MET");
}

}  // namespace quillmark::bench
