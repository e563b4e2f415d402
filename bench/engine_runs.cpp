#include "bench/engine_runs.h"

#include <chrono>
#include <memory>

#include "bench/bench_hosts.h"
#include "engine/search_setup.h"

namespace quillmark::bench {
namespace {

using Clock = std::chrono::steady_clock;

template <class Host>
double WalkWithEngine(const char* encoding, const std::string& root, Host& host, bool& completed) {
  const Clock::time_point start = Clock::now();
  std::unique_ptr<engine::SourceFinder> finder = engine::CreateSourceFinder(encoding);
  finder->SetHost(&host);
  finder->SetExtensions(engine::BuildExtensionList(kSourceExtensions));
  completed = finder->Walk(root) && completed;
  host.FlushTrace();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

EngineRun RunFindingsOnly(const GeneratedTree& tree) {
  EngineRun run;
  FindingCounterHost sjisHost(tree.sjisRoot);
  FindingCounterHost eucHost(tree.eucRoot);
  run.sjisSeconds = WalkWithEngine("SJIS", tree.sjisRoot, sjisHost, run.completed);
  run.eucSeconds = WalkWithEngine("EUC", tree.eucRoot, eucHost, run.completed);
  run.seconds = run.sjisSeconds + run.eucSeconds;
  run.findings = sjisHost.findings + eucHost.findings;
  return run;
}

EngineRun RunFullTracing(const GeneratedTree& tree, std::FILE* traceOut) {
  EngineRun run;
  TraceWriterHost sjisHost(tree.sjisRoot, traceOut);
  TraceWriterHost eucHost(tree.eucRoot, traceOut);
  run.sjisSeconds = WalkWithEngine("SJIS", tree.sjisRoot, sjisHost, run.completed);
  run.eucSeconds = WalkWithEngine("EUC", tree.eucRoot, eucHost, run.completed);
  run.seconds = run.sjisSeconds + run.eucSeconds;
  run.findings = sjisHost.findings + eucHost.findings;
  run.traceBytes = sjisHost.traceBytes + eucHost.traceBytes;
  run.traceLines = sjisHost.traceLines + eucHost.traceLines;
  return run;
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
