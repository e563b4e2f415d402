// The search thread on real trees: what the event thread takes, batch by
// batch while the walk runs, adds up to the reports of the walk in their
// order; a stop ends the walk at the next report; the end is announced
// once, whatever ends the walk.
#include "app/search_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "app/log_text.h"
#include "engine/search_setup.h"
#include "tests/support/temp_tree.h"

namespace quillmark::app {
namespace {

using testing::TempTree;

constexpr const char* kSjisNihon = "\x93\xfa\x96\x7b";

// Bounded, so that a walk that never ends fails the test.
template <class Condition>
bool WaitFor(Condition done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

class SearchThreadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 40; ++i) {
      sources.WriteFile("d" + std::to_string(i % 4) + "/f" + std::to_string(i) + ".c",
                        std::string("\"") + kSjisNihon + "\"; \"" + std::to_string(i) + "\"\n");
    }
  }
  engine::SearchOptions Options(unsigned threads) {
    engine::SearchOptions options;
    options.root = sources.Root();
    options.encoding = *engine::EncodingForSetting("SJIS");
    options.extensions = {"c"};
    options.threads = threads;
    options.traceRenderer = &renderer;
    return options;
  }
  // Records each report as the sink saw it.
  SearchThread::ReportObserver Recorder() {
    return [this](const engine::FileReport& report, std::stop_token) {
      const std::lock_guard<std::mutex> lock(mutex);
      reportedLog += report.trace;
      for (const engine::Finding& finding : report.findings) reportedFindings.push_back(finding);
    };
  }

  TempTree sources;
  LogLineRenderer renderer;
  std::atomic<int> ended{0};
  std::mutex mutex;
  std::string reportedLog;
  std::vector<engine::Finding> reportedFindings;
};

TEST_F(SearchThreadTest, TheBatchesAddUpToTheReportsInTheirOrder) {
  for (const unsigned threads : {1u, 2u}) {
    ended = 0;
    reportedLog.clear();
    reportedFindings.clear();
    SearchThread search(Options(threads), [this] { ++ended; }, Recorder());
    SearchBatch taken;
    const auto take = [&] {
      SearchBatch batch = search.TakeBatch();
      taken.log += batch.log;
      taken.findings.Append(std::move(batch.findings));
    };
    ASSERT_TRUE(WaitFor([&] {
      take();
      return ended.load() > 0;
    }));
    search.Join();
    take();

    EXPECT_EQ(ended.load(), 1);
    EXPECT_TRUE(search.Completed());
    EXPECT_EQ(search.Failure().kind, engine::WalkFailure::Kind::None);
    EXPECT_TRUE(search.TakeBatch().empty()) << "nothing is taken twice";
    EXPECT_EQ(taken.log, reportedLog);
    ASSERT_EQ(taken.findings.size(), 40u);
    ASSERT_EQ(taken.findings.size(), reportedFindings.size());
    for (std::size_t i = 0; i < reportedFindings.size(); ++i) EXPECT_EQ(taken.findings.At(i), reportedFindings[i]);
    EXPECT_NE(taken.log.find("checking string:日本\n"), std::string::npos) << "converted on the scanning threads";
  }
}

TEST_F(SearchThreadTest, AStopEndsTheWalkAtTheNextReport) {
  // The walk waits at its first file until the stop has been asked for.
  std::atomic<bool> atFirstFile{false};
  SearchThread search(Options(2), [this] { ++ended; },
                      [&](const engine::FileReport& report, std::stop_token stop) {
                        if (report.findings.empty() || atFirstFile.exchange(true)) return;
                        WaitFor([&] { return stop.stop_requested(); });
                      });
  ASSERT_TRUE(WaitFor([&] { return atFirstFile.load(); }));

  search.RequestStop();
  search.Join();

  EXPECT_EQ(ended.load(), 1);
  EXPECT_FALSE(search.Completed());
  EXPECT_EQ(search.Failure().kind, engine::WalkFailure::Kind::Stopped);
  EXPECT_EQ(search.TakeBatch().findings.size(), 1u) << "the first file's finding, and no more";
}

TEST_F(SearchThreadTest, DestroyedDuringTheWalkItStopsAndWaits) {
  {
    SearchThread search(Options(2), [this] { ++ended; });
  }
  EXPECT_EQ(ended.load(), 1) << "the thread ran to its end before the destructor returned";
}

}  // namespace
}  // namespace quillmark::app
