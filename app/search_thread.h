// The walk of one search on a thread of its own, so that the window keeps
// answering however long a folder or a file takes. The engine hands each
// entry's report to a sink on that thread; the sink adds the entry's log
// lines (already converted on the threads that scan) and findings to a
// pending batch, which the event thread takes at its own pace.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>

#include "app/finding_model.h"
#include "engine/file_report.h"
#include "engine/search_options.h"
#include "engine/walk_failure.h"

namespace quillmark::app {

// What the walk has given since the event thread last took it.
struct SearchBatch {
  std::string log;  // whole lines, as the log keeps them
  FindingModel findings;

  bool empty() const { return log.empty() && findings.empty(); }
};

class SearchThread {
 public:
  // Runs on the search thread after each report has gone into the batch;
  // the tests act at a known point of the walk with it.
  using ReportObserver = std::function<void(const engine::FileReport&, std::stop_token)>;

  // Starts the walk at once. `ended` runs on the search thread when the
  // walk is over and its last report is in the batch; it must not wait
  // for the event thread.
  SearchThread(engine::SearchOptions options, std::function<void()> ended, ReportObserver observer = {});
  // Stops the walk and waits for the thread.
  ~SearchThread();
  SearchThread(const SearchThread&) = delete;
  SearchThread& operator=(const SearchThread&) = delete;

  // The walk ends at the next report; the thread ends soon after.
  void RequestStop() { stop_.request_stop(); }
  // Everything the walk gave since the last call.
  SearchBatch TakeBatch();
  // Waits until the thread has ended; the outcome is known from then on.
  void Join();

  // True when `ended` could not be called (no memory to post it, say):
  // the event thread then has to find the end by itself.
  bool EndedUnannounced() const { return endedUnannounced_.load(); }

  // After Join: whether the walk reached its end, and if not, why.
  bool Completed() const { return completed_; }
  const engine::WalkFailure& Failure() const { return failure_; }

 private:
  class Sink;
  void Run(engine::SearchOptions options);
  void Keep(const engine::FileReport& report);

  std::function<void()> ended_;
  ReportObserver observer_;
  std::mutex mutex_;
  SearchBatch pending_;  // guarded by mutex_
  std::stop_source stop_;
  bool completed_ = false;
  engine::WalkFailure failure_;
  std::atomic<bool> endedUnannounced_{false};
  std::thread thread_;  // last: it starts once everything above is made
};

}  // namespace quillmark::app
