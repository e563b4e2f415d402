#include "app/search_thread.h"

#include <new>
#include <utility>

#include "engine/search_sink.h"
#include "engine/source_finder.h"

namespace quillmark::app {

class SearchThread::Sink final : public engine::SearchSink {
 public:
  explicit Sink(SearchThread& owner) : owner_(owner) {}
  void Take(engine::FileReport& report) override { owner_.Keep(report); }

 private:
  SearchThread& owner_;
};

SearchThread::SearchThread(engine::SearchOptions options, std::function<void()> ended, ReportObserver observer)
    : ended_(std::move(ended)), observer_(std::move(observer)) {
  options.stop = stop_.get_token();
  thread_ = std::thread([this, options = std::move(options)]() mutable { Run(std::move(options)); });
}

SearchThread::~SearchThread() {
  RequestStop();
  Join();
}

void SearchThread::Join() {
  if (thread_.joinable()) thread_.join();
}

void SearchThread::Run(engine::SearchOptions options) {
  try {
    Sink sink(*this);
    engine::SourceFinder finder(std::move(options), sink);
    completed_ = finder.Walk();
    failure_ = finder.Failure();
  } catch (const std::bad_alloc&) {
    // The batch could not grow: the walk ends as one that ran out of memory.
    completed_ = false;
    failure_ = engine::WalkFailure::OutOfMemory();
  }
  try {
    ended_();
  } catch (...) {
    endedUnannounced_.store(true);
  }
}

void SearchThread::Keep(const engine::FileReport& report) {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    pending_.log += report.trace;
    for (const engine::Finding& finding : report.findings) pending_.findings.Append(finding);
  }
  if (observer_) observer_(report, stop_.get_token());
}

SearchBatch SearchThread::TakeBatch() {
  SearchBatch batch;
  const std::lock_guard<std::mutex> lock(mutex_);
  std::swap(batch, pending_);
  // The next batch is likely as large: growing to it by doubling would
  // copy its bytes over and over on the walk's thread.
  pending_.log.reserve(batch.log.size());
  pending_.findings.Reserve(batch.findings.size());
  return batch;
}

}  // namespace quillmark::app
