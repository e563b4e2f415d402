#include "bench/engine_runs.h"

#include <time.h>

#include <chrono>
#include <memory>
#include <utility>

#include "bench/bench_hosts.h"
#include "engine/search_setup.h"
#include "engine/source_finder.h"

namespace quillmark::bench {
namespace {

using Clock = std::chrono::steady_clock;

template <class Sink>
double WalkWithEngine(const char* encoding, const std::string& root, Sink& sink, bool& completed, bool trace) {
  const Clock::time_point start = Clock::now();
  engine::SearchOptions options;
  options.root = root;
  options.encoding = *engine::EncodingForSetting(encoding);
  options.extensions = engine::BuildExtensionList(kSourceExtensions);
  options.trace = trace;
  options.stop = sink.StopToken();
  engine::SourceFinder finder(std::move(options), sink);
  completed = finder.Walk() && completed;
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

EngineRun RunFindingsOnly(const GeneratedTree& tree) {
  EngineRun run;
  FindingCounterHost sjisHost;
  FindingCounterHost eucHost;
  run.sjisSeconds = WalkWithEngine("SJIS", tree.sjisRoot, sjisHost, run.completed, false);
  run.eucSeconds = WalkWithEngine("EUC", tree.eucRoot, eucHost, run.completed, false);
  run.seconds = run.sjisSeconds + run.eucSeconds;
  run.findings = sjisHost.findings + eucHost.findings;
  return run;
}

EngineRun RunFullTracing(const GeneratedTree& tree, std::FILE* traceOut) {
  EngineRun run;
  TraceWriterHost sjisHost(traceOut);
  TraceWriterHost eucHost(traceOut);
  run.sjisSeconds = WalkWithEngine("SJIS", tree.sjisRoot, sjisHost, run.completed, true);
  run.eucSeconds = WalkWithEngine("EUC", tree.eucRoot, eucHost, run.completed, true);
  std::fflush(traceOut);
  run.seconds = run.sjisSeconds + run.eucSeconds;
  run.findings = sjisHost.findings + eucHost.findings;
  run.traceBytes = sjisHost.traceBytes + eucHost.traceBytes;
  run.traceLines = sjisHost.traceLines + eucHost.traceLines;
  return run;
}

// Unlike the wall clock, hardly moved by other programs on a busy machine.
double ProcessCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

EngineRun RunWalk(const char* encoding, const std::string& root) {
  EngineRun run;
  FindingCounterHost host;
  const double cpuStart = ProcessCpuSeconds();
  run.seconds = WalkWithEngine(encoding, root, host, run.completed, false);
  run.cpuSeconds = ProcessCpuSeconds() - cpuStart;
  run.findings = host.findings;
  return run;
}

EngineRun RunSortedWalks(const MixedTree& tree) {
  EngineRun run;
  for (const auto& [encoding, root] : {std::pair{"SJIS", &tree.sortedSjisRoot}, std::pair{"EUC", &tree.sortedEucRoot},
                                       std::pair{"UTF8", &tree.sortedUtf8Root}}) {
    const EngineRun walk = RunWalk(encoding, *root);
    run.seconds += walk.seconds;
    run.cpuSeconds += walk.cpuSeconds;
    run.findings += walk.findings;
    run.completed = run.completed && walk.completed;
  }
  return run;
}

TraceTally TallyWalk(const char* encoding, const std::string& root) {
  TraceTallyHost host;
  bool completed = true;
  WalkWithEngine(encoding, root, host, completed, true);
  host.tally.completed = completed;
  return host.tally;
}

std::uint64_t ExpectedTraceLines(const TreeStats& stats) {
  return stats.folders + stats.files + stats.literals + stats.findings;
}

std::string CheckRun(const EngineRun& run, const TreeStats& expected, bool traced) {
  std::string problems;
  if (!run.completed) problems += " a walk did not reach its end;";
  if (run.findings != expected.findings)
    problems += " findings " + std::to_string(run.findings) + ", expected " + std::to_string(expected.findings) + ";";
  if (traced && run.traceLines != ExpectedTraceLines(expected))
    problems += " trace lines " + std::to_string(run.traceLines) + ", expected " +
                std::to_string(ExpectedTraceLines(expected)) + ";";
  return problems;
}

}  // namespace quillmark::bench
