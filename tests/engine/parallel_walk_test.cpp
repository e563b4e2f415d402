// A walk that scans files on several threads hands its sink exactly what a
// walk on one thread hands it, report for report, and ends at the same point.
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <stop_token>
#include <string>
#include <vector>

#include "engine/search_setup.h"
#include "engine/source_finder.h"
#include "tests/support/failing_reads.h"
#include "tests/support/temp_tree.h"
#include "tests/support/varied_source_tree.h"

namespace quillmark::engine {
namespace {

using testing::TempTree;

// Every report a sink gets, with everything in it, in order.
class ReportLog final : public SearchSink {
 public:
  void Take(FileReport& r) override {
    ++reports;
    calls.push_back(r.folderListed ? "report listed" : "report");
    calls.push_back("trace " + r.trace);
    for (const Finding& f : r.findings)
      calls.push_back("finding " + f.path + ":" + std::to_string(f.line) + ":" + std::to_string(f.column) + " " +
                      f.quote + std::to_string(static_cast<int>(f.encoding)) + " " + f.content);
    for (const Diagnostic& d : r.diagnostics)
      calls.push_back("diagnose " + std::to_string(static_cast<int>(d.kind)) + " " + d.path + ":" +
                      std::to_string(d.line) + " " + d.text);
    if (r.scanned)
      calls.push_back("scanned " + std::string(r.scanned->encodingName) + " " + std::to_string(r.scanned->bytes) +
                      (r.scanned->endedEarly ? " early" : ""));
    if (reports == stopAtReport) stop.request_stop();
  }

  std::vector<std::string> calls;
  long reports = 0;
  long stopAtReport = 0;  // 0: never
  std::stop_source stop;
};

struct Outcome {
  std::vector<std::string> calls;
  bool completed = false;
  WalkFailure failure;
  long reports = 0;
};

struct WalkSetup {
  std::string encoding = "SJIS";
  bool wantsTrace = true;
  long stopAtReport = 0;
};

Outcome WalkAt(const std::string& root, unsigned threads, const WalkSetup& setup) {
  ReportLog sink;
  sink.stopAtReport = setup.stopAtReport;
  SearchOptions options;
  options.root = root;
  options.encoding = *EncodingForSetting(setup.encoding);
  options.extensions = {"c", "cpp", "h", "hpp"};
  options.threads = threads;
  options.trace = setup.wantsTrace;
  options.stop = sink.stop.get_token();
  SourceFinder finder(std::move(options), sink);
  Outcome outcome;
  outcome.completed = finder.Walk();
  outcome.failure = finder.Failure();
  outcome.calls = std::move(sink.calls);
  outcome.reports = sink.reports;
  return outcome;
}

// The walk at 2 and 8 threads against the walk on one; the one-thread
// outcome for the case's own checks.
Outcome ExpectSameAtEveryThreadCount(const std::string& root, const WalkSetup& setup) {
  const Outcome sequential = WalkAt(root, 1, setup);
  for (unsigned threads : {2u, 8u}) {
    const Outcome parallel = WalkAt(root, threads, setup);
    SCOPED_TRACE(setup.encoding + " at " + std::to_string(threads) + " threads, stop at " +
                 std::to_string(setup.stopAtReport));
    EXPECT_EQ(parallel.calls, sequential.calls);
    EXPECT_EQ(parallel.completed, sequential.completed);
    EXPECT_EQ(parallel.failure.kind, sequential.failure.kind);
    EXPECT_EQ(parallel.failure.path, sequential.failure.path);
  }
  return sequential;
}

long CountOf(const std::vector<std::string>& calls, std::string_view prefix) {
  long count = 0;
  for (const std::string& call : calls) count += call.starts_with(prefix);
  return count;
}

TEST(ParallelWalk, EveryEncodingTellsTheSameCalls) {
  TempTree tree;
  testing::WriteVariedTree(tree, {});
  for (const char* encoding : {"SJIS", "EUC", "UTF8", "AUTO"}) {
    for (bool wantsTrace : {true, false}) {
      const Outcome outcome = ExpectSameAtEveryThreadCount(tree.Root(), {encoding, wantsTrace});
      EXPECT_TRUE(outcome.completed);
      // The tree holds what it is for.
      EXPECT_GT(CountOf(outcome.calls, "finding "), 20);
      EXPECT_GT(CountOf(outcome.calls, "scanned "), 30);
    }
  }
}

TEST(ParallelWalk, AStopEndsTheWalkAtTheSameReport) {
  TempTree tree;
  testing::WriteVariedTree(tree, {.seed = 2});
  const long reports = WalkAt(tree.Root(), 1, {}).reports;
  ASSERT_GT(reports, 30);
  for (long stopAt : {1L, 2L, 3L, 7L, reports / 3, reports / 2, reports - 1, reports}) {
    const Outcome outcome = ExpectSameAtEveryThreadCount(tree.Root(), {.encoding = "AUTO", .stopAtReport = stopAt});
    EXPECT_FALSE(outcome.completed);
    EXPECT_EQ(outcome.failure.kind, WalkFailure::Kind::Stopped);
    // Nothing is handed on after the report that asked for the stop.
    EXPECT_EQ(outcome.reports, stopAt);
  }
}

TEST(ParallelWalk, AFileThatCannotBeOpenedEndsTheWalkAtTheSameFile) {
  TempTree tree;
  testing::WriteVariedTree(tree, {.seed = 4, .withDanglingSource = true});
  for (bool wantsTrace : {true, false}) {
    const Outcome outcome = ExpectSameAtEveryThreadCount(tree.Root(), {.wantsTrace = wantsTrace});
    EXPECT_EQ(outcome.failure.kind, WalkFailure::Kind::CannotOpenFile);
    EXPECT_EQ(outcome.failure.path, tree.PathOf("src/core/gone.c"));
  }
}

// Each file in flight holds a descriptor: however many threads, the walk
// keeps to what the process may open.
// A read that fails part way through a file (a bad disk, a share gone)
// ends the walk after what the file gave before it, at every thread count.
TEST(ParallelWalk, AReadThatFailsPartWayEndsTheWalkAtTheSameFile) {
  TempTree tree;
  testing::WriteVariedTree(tree, {.seed = 5});
  std::string big;
  for (int line = 0; big.size() < 200 * 1024; ++line) big += "s = \"\x82\xA0\"; // " + std::to_string(line) + "\n";
  tree.WriteFile("src/midway.c", big);
  testing::ScopedFailingReads failing("/src/midway.c", 64 * 1024);
  const Outcome outcome = ExpectSameAtEveryThreadCount(tree.Root(), {});
  EXPECT_EQ(outcome.failure.kind, WalkFailure::Kind::CannotReadFile);
  EXPECT_EQ(outcome.failure.path, tree.PathOf("src/midway.c"));
  EXPECT_EQ(outcome.failure.reason, "Input/output error");
  // The file's report: what its whole lines gave, then the failure.
  ASSERT_GE(outcome.calls.size(), 3u);
  EXPECT_EQ(outcome.calls.end()[-2], "diagnose 3 src/midway.c:0 Input/output error");
  EXPECT_TRUE(outcome.calls.back().starts_with("scanned SJIS-JP 6")) << outcome.calls.back();
  const auto trace = std::find_if(outcome.calls.rbegin(), outcome.calls.rend(),
                                  [](const std::string& call) { return call.starts_with("trace "); });
  ASSERT_NE(trace, outcome.calls.rend());
  EXPECT_TRUE(trace->ends_with("\nError: failed to read the file. (Input/output error)\n"));
  EXPECT_EQ(trace->find("missing string terminator"), std::string::npos) << "a line cut by the failure is not scanned";
  EXPECT_GT(CountOf(outcome.calls, "finding src/midway.c:"), 1000);
}

TEST(ParallelWalk, ManyThreadsKeepWithinTheDescriptorLimit) {
  TempTree tree;
  // Files that take longer to scan than to open, so that the walk runs
  // ahead as far as it may.
  testing::WriteVariedTree(tree, {.seed = 7, .files = 300, .maxLines = 1500});
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
  rlimit low = saved;
  low.rlim_cur = std::min<rlim_t>(saved.rlim_cur, 64);
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &low), 0);
  const Outcome sequential = WalkAt(tree.Root(), 1, {});
  const Outcome parallel = WalkAt(tree.Root(), 8, {});
  setrlimit(RLIMIT_NOFILE, &saved);
  EXPECT_TRUE(sequential.completed);
  EXPECT_EQ(parallel.calls, sequential.calls);
  EXPECT_EQ(parallel.failure.kind, WalkFailure::Kind::None);
}

}  // namespace
}  // namespace quillmark::engine
