// Runs a walk with its files scanned on worker threads, and hands every
// entry's report to the sink strictly in the walk's order.
//
// The walker's items are numbered as they come. A file's item waits for a
// scanner: a worker's, or the emitting thread's own when the report it
// needs next is not done and nobody has taken that file yet. The emitting
// thread (the one that runs the walk) checks for a stop before each
// report, hands it on, and ends the walk at a stop or at a report that
// ends it, throwing away whatever was scanned past that point. At most a
// fixed number of files are in flight, whatever the tree; at one thread
// that number is one, so each file is scanned at its turn.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "engine/file_scanner.h"
#include "engine/folder_walker.h"
#include "engine/search_options.h"
#include "engine/search_sink.h"
#include "engine/walk_failure.h"

namespace quillmark::engine {

class ScanPipeline {
 public:
  // Neither is owned; both must outlive the pipeline.
  ScanPipeline(const SearchOptions& options, SearchSink& sink);
  ~ScanPipeline();
  ScanPipeline(const ScanPipeline&) = delete;
  ScanPipeline& operator=(const ScanPipeline&) = delete;

  // Takes every item of `walker` and hands on every report: the failure
  // that ended the walk, of kind None when it reached its end.
  WalkFailure Run(FolderWalker& walker);

 private:
  struct Item {
    enum class State { Ready, Pending, Running, Done };
    WalkItem walk;
    std::uint64_t number = 0;     // in the walk's order, from 0
    bool isFile = false;          // waits for a scanner; fixed before the item is queued
    State state = State::Ready;  // guarded by mutex_ once a file's item is queued
  };

  // Hands on the reports that are done, in order; the failure when one
  // of them, or a stop, ends the walk.
  std::optional<WalkFailure> EmitReady();
  // Queues the walker's next item; false when the walk has none left.
  bool TakeFromWalker(FolderWalker& walker);
  // Until the first queued report is done, scans files nobody has taken
  // (that one first, when it is among them), or waits for a worker.
  void CompleteFirst();
  void Scan(FileScanner& scanner, Item& item);
  void StartWorkers();
  void RunWorker();
  void StopWorkers();
  std::unique_ptr<Item> TakeSpare();
  void KeepSpare(std::unique_ptr<Item> item);
  bool IsDone(const Item& item);

  const SearchOptions& options_;
  SearchSink& sink_;
  const std::size_t fileWindow_;  // files queued and not yet handed on, at most

  // The emitting thread's alone.
  std::deque<std::unique_ptr<Item>> queue_;  // in the walk's order
  std::size_t filesQueued_ = 0;
  std::uint64_t nextNumber_ = 0;
  std::uint64_t nextToEmit_ = 0;
  std::uint64_t bytesMet_ = 0;  // of the files the walk has opened
  bool workersStarted_ = false;
  std::unique_ptr<FileScanner> ownScanner_;
  std::vector<std::unique_ptr<Item>> spares_;  // handed on, emptied, their memory kept

  std::mutex mutex_;
  std::condition_variable workQueued_;
  std::condition_variable jobDone_;
  std::deque<Item*> pending_;  // files no thread has started, oldest first
  bool stopping_ = false;
  std::atomic<bool> cancel_{false};  // scans in progress end at their next line
  std::vector<std::thread> workers_;
};

}  // namespace quillmark::engine
