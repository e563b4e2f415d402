// A walk that scans files on several threads tells its host exactly what a
// walk on one thread tells, call for call, and ends at the same point.
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/search_setup.h"
#include "tests/support/temp_tree.h"
#include "tests/support/varied_source_tree.h"

namespace quillmark::engine {
namespace {

using testing::TempTree;

// Every call a host gets, with every argument, in order.
class CallLog final : public FinderHost {
 public:
  CallLog(std::string root, bool wantsTrace) : root_(std::move(root)), wantsTrace_(wantsTrace) {}

  void Trace(std::string_view line) override { calls.push_back("trace " + std::string(line)); }
  void FlushTrace() override { calls.push_back("flush"); }
  bool WantsTrace() const override { return wantsTrace_; }
  void AddFinding(const Finding& f) override {
    calls.push_back("finding " + f.path + ":" + std::to_string(f.line) + ":" + std::to_string(f.column) + " " +
                    f.quote + std::to_string(static_cast<int>(f.encoding)) + " " + f.content);
  }
  void Diagnose(const Diagnostic& d) override {
    calls.push_back("diagnose " + std::to_string(static_cast<int>(d.kind)) + " " + d.path + ":" +
                    std::to_string(d.line) + " " + d.text);
  }
  void FolderListed() override { calls.push_back("listed"); }
  void FileScanned(const ScannedFile& file) override {
    calls.push_back("scanned " + std::string(file.encodingName) + " " + std::to_string(file.bytes) +
                    (file.endedEarly ? " early" : ""));
  }
  bool IsStopRequested() override {
    const bool stop = ++checks == stopAtCheck;
    calls.push_back(stop ? "stop" : "check");
    return stop;
  }
  std::string GetRootPath() override { return root_; }
  bool PumpMessages() override {
    const bool quit = ++pumps == quitAtPump;
    calls.push_back(quit ? "quit" : "pump");
    return !quit;
  }

  std::vector<std::string> calls;
  long checks = 0, pumps = 0;
  long stopAtCheck = 0, quitAtPump = 0;  // 0: never

 private:
  std::string root_;
  bool wantsTrace_;
};

struct Outcome {
  std::vector<std::string> calls;
  bool completed = false;
  WalkFailure failure;
  long checks = 0, pumps = 0;
};

struct WalkSetup {
  std::string encoding = "SJIS";
  bool wantsTrace = true;
  long stopAtCheck = 0;
  long quitAtPump = 0;
};

Outcome WalkAt(const std::string& root, unsigned threads, const WalkSetup& setup) {
  CallLog host(root, setup.wantsTrace);
  host.stopAtCheck = setup.stopAtCheck;
  host.quitAtPump = setup.quitAtPump;
  std::unique_ptr<SourceFinder> finder = CreateSourceFinder(setup.encoding);
  finder->SetHost(&host);
  finder->SetExtensions({"c", "cpp", "h", "hpp"});
  finder->SetThreads(threads);
  Outcome outcome;
  outcome.completed = finder->Walk(root);
  outcome.failure = finder->Failure();
  outcome.calls = std::move(host.calls);
  outcome.checks = host.checks;
  outcome.pumps = host.pumps;
  return outcome;
}

// The walk at 2 and 8 threads against the walk on one; the one-thread
// outcome for the case's own checks.
Outcome ExpectSameAtEveryThreadCount(const std::string& root, const WalkSetup& setup) {
  const Outcome sequential = WalkAt(root, 1, setup);
  for (unsigned threads : {2u, 8u}) {
    const Outcome parallel = WalkAt(root, threads, setup);
    SCOPED_TRACE(setup.encoding + " at " + std::to_string(threads) + " threads, stop at " +
                 std::to_string(setup.stopAtCheck) + ", quit at " + std::to_string(setup.quitAtPump));
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

TEST(ParallelWalk, AStopEndsTheWalkAtTheSameEntry) {
  TempTree tree;
  testing::WriteVariedTree(tree, {.seed = 2});
  const long checks = WalkAt(tree.Root(), 1, {}).checks;
  ASSERT_GT(checks, 50);
  for (long stopAt : {1L, 2L, 3L, 7L, checks / 3, checks / 2, checks - 1, checks}) {
    const Outcome outcome = ExpectSameAtEveryThreadCount(tree.Root(), {.encoding = "AUTO", .stopAtCheck = stopAt});
    EXPECT_FALSE(outcome.completed);
    EXPECT_EQ(outcome.failure.kind, WalkFailure::Kind::Stopped);
  }
}

TEST(ParallelWalk, AQuitDuringAPumpEndsTheWalkAtTheSameFolder) {
  TempTree tree;
  testing::WriteVariedTree(tree, {.seed = 3});
  const long pumps = WalkAt(tree.Root(), 1, {}).pumps;
  ASSERT_GT(pumps, 5);
  for (long quitAt = 1; quitAt <= pumps; ++quitAt) {
    const Outcome outcome = ExpectSameAtEveryThreadCount(tree.Root(), {.quitAtPump = quitAt});
    EXPECT_FALSE(outcome.completed);
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
