#include "bench/bench_report.h"

#include <algorithm>
#include <cstdio>

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

}  // namespace quillmark::bench
