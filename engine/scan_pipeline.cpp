#include "engine/scan_pipeline.h"

#include <algorithm>
#include <cassert>
#include <new>
#include <system_error>
#include <utility>

#include "platform/process_limits.h"

namespace quillmark::engine {
namespace {

// Enough files ahead that the walk's thread goes on listing folders while
// the others scan, rather than wait on a file (measured: 8 a thread left
// the window's search a fifth slower), few enough that their reports stay
// small.
constexpr std::size_t kFilesPerThread = 32;
// Reports queued behind a file not yet scanned, at most: folders without
// sources come by the thousand.
constexpr std::size_t kMaxQueuedItems = 4096;
// Workers start only once the walk has met this many bytes of files:
// starting them costs about what scanning half a megabyte does (measured:
// 1-2 ms), so a small tree is scanned on the walk's thread alone.
constexpr std::uint64_t kBytesBeforeThreads = 512 * 1024;
// A report's memory is kept for the next entry unless it grew past this:
// memory handed from thread to thread and back costs page faults at every
// file otherwise.
constexpr std::size_t kMaxKeptReportBytes = 1 << 20;

// Files in flight, each holding a descriptor: one at one thread, else 32 a
// thread, but never more than a quarter of the descriptors the process may
// open, nor than 1,024.
std::size_t FileWindow(unsigned threads) {
  if (threads <= 1) return 1;
  const std::size_t limit = std::min<std::size_t>(1024, platform::OpenFileLimit(4096) / 4);
  return std::max<std::size_t>(1, std::min<std::size_t>(kFilesPerThread * threads, limit));
}

std::size_t ReportBytes(const FileReport& report) {
  return report.trace.capacity() + report.rendered.capacity() + report.findings.capacity() * sizeof(Finding);
}

}  // namespace

ScanPipeline::ScanPipeline(const SearchOptions& options, SearchSink& sink)
    : options_(options), sink_(sink), fileWindow_(FileWindow(options.threads)) {}

ScanPipeline::~ScanPipeline() { StopWorkers(); }

WalkFailure ScanPipeline::Run(FolderWalker& walker) {
  bool walking = true;
  for (;;) {
    if (std::optional<WalkFailure> failure = EmitReady()) {
      StopWorkers();
      queue_.clear();
      return std::move(*failure);
    }
    if (walking && filesQueued_ < fileWindow_ && queue_.size() < kMaxQueuedItems) {
      walking = TakeFromWalker(walker);
      continue;
    }
    if (queue_.empty()) break;
    CompleteFirst();
  }
  StopWorkers();
  // The walk's end counts as a report: a stop that came with the last one
  // is seen here, at every thread count alike.
  if (options_.stop.stop_requested()) return WalkFailure{WalkFailure::Kind::Stopped, {}, {}};
  return WalkFailure{};
}

bool ScanPipeline::IsDone(const Item& item) {
  if (!item.isFile) return true;
  std::lock_guard lock(mutex_);
  return item.state == Item::State::Done;
}

std::optional<WalkFailure> ScanPipeline::EmitReady() {
  while (!queue_.empty() && IsDone(*queue_.front())) {
    Item& item = *queue_.front();
    if (options_.stop.stop_requested()) return WalkFailure{WalkFailure::Kind::Stopped, {}, {}};
    // Reports go out in the order the walker made them, each once.
    assert(item.number == nextToEmit_);
    ++nextToEmit_;
    FileReport& report = item.walk.report;
    // Taken before the sink may empty the report.
    WalkFailure failure = std::move(report.failure);
    try {
      sink_.Take(report);
    } catch (const std::bad_alloc&) {
      return WalkFailure::OutOfMemory(item.walk.path);
    }
    if (failure.kind != WalkFailure::Kind::None) return failure;
    if (item.isFile) --filesQueued_;
    std::unique_ptr<Item> done = std::move(queue_.front());
    queue_.pop_front();
    KeepSpare(std::move(done));
  }
  return std::nullopt;
}

bool ScanPipeline::TakeFromWalker(FolderWalker& walker) {
  std::unique_ptr<Item> item = TakeSpare();
  if (!walker.Next(item->walk)) {
    KeepSpare(std::move(item));
    return false;
  }
  item->number = nextNumber_++;
  item->isFile = item->walk.file.IsOpen();
  if (!item->isFile) {
    item->state = Item::State::Ready;
    queue_.push_back(std::move(item));
    return true;
  }
  bytesMet_ += item->walk.fileBytes;
  ++filesQueued_;
  item->state = Item::State::Pending;
  {
    std::lock_guard lock(mutex_);
    pending_.push_back(item.get());
  }
  queue_.push_back(std::move(item));
  if (!workersStarted_ && options_.threads > 1 && bytesMet_ >= kBytesBeforeThreads) StartWorkers();
  workQueued_.notify_one();
  return true;
}

void ScanPipeline::CompleteFirst() {
  Item& first = *queue_.front();
  // Only a file's report is ever waited for.
  assert(first.isFile);
  std::unique_lock lock(mutex_);
  while (first.state != Item::State::Done) {
    if (pending_.empty()) {
      jobDone_.wait(lock);
      continue;
    }
    // Rather than wait, this thread scans the oldest file nobody has
    // started: the first one itself, when it is among them.
    Item* job = pending_.front();
    pending_.pop_front();
    job->state = Item::State::Running;
    lock.unlock();
    if (!ownScanner_) ownScanner_ = std::make_unique<FileScanner>(options_, &cancel_);
    Scan(*ownScanner_, *job);
    lock.lock();
    job->state = Item::State::Done;
  }
}

void ScanPipeline::Scan(FileScanner& scanner, Item& item) {
  WalkItem& walk = item.walk;
  try {
    scanner.Scan(std::move(walk.file), walk.relativePath, walk.path, walk.report);
  } catch (const std::bad_alloc&) {
    // Handed on at the file's turn, after what was found before it, as the
    // lack of memory that ends the walk.
    scanner.Release();
    walk.report.failure = WalkFailure::OutOfMemory(walk.path);
  }
}

void ScanPipeline::StartWorkers() {
  // A thread that cannot be started leaves its share to the others and to
  // the emitting thread, which scans what nobody has taken.
  workersStarted_ = true;
  for (unsigned i = 1; i < options_.threads; ++i) {
    try {
      workers_.emplace_back([this] { RunWorker(); });
    } catch (const std::system_error&) {
      break;
    }
  }
}

void ScanPipeline::RunWorker() {
  std::unique_ptr<FileScanner> scanner;
  try {
    scanner = std::make_unique<FileScanner>(options_, &cancel_);
  } catch (const std::bad_alloc&) {
    return;  // its files are left to the other threads
  }
  std::unique_lock lock(mutex_);
  for (;;) {
    workQueued_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
    if (stopping_) return;
    Item* job = pending_.front();
    pending_.pop_front();
    job->state = Item::State::Running;
    lock.unlock();
    Scan(*scanner, *job);
    lock.lock();
    job->state = Item::State::Done;
    jobDone_.notify_one();
  }
}

void ScanPipeline::StopWorkers() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    pending_.clear();
  }
  cancel_ = true;
  workQueued_.notify_all();
  for (std::thread& worker : workers_) worker.join();
  workers_.clear();
}

std::unique_ptr<ScanPipeline::Item> ScanPipeline::TakeSpare() {
  if (spares_.empty()) return std::make_unique<Item>();
  std::unique_ptr<Item> item = std::move(spares_.back());
  spares_.pop_back();
  return item;
}

void ScanPipeline::KeepSpare(std::unique_ptr<Item> item) {
  if (ReportBytes(item->walk.report) > kMaxKeptReportBytes || spares_.size() > fileWindow_) return;
  item->walk.report.Clear();
  item->walk.file = {};
  spares_.push_back(std::move(item));
}

}  // namespace quillmark::engine
