// Scans files on worker threads ahead of the walk, and tells the host
// everything (the walk's own calls and each file's) in exactly the order
// of a walk that scans each file at its turn, on the walk's thread.
//
// The walk runs with this object as its host and as its file scan. Its
// calls are queued and told as soon as every file before them has been
// scanned; stop checks and pumps are made then, so a stop request, a quit
// or a failed open ends the output at the very point a sequential walk
// would. Whatever the walk did past that point is thrown away. At most a
// fixed number of files are in flight, whatever the tree.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/encoding_rules.h"
#include "engine/finder_host.h"
#include "engine/folder_walker.h"
#include "engine/walk_failure.h"

namespace quillmark::engine {

class ParallelFileScan final : public FinderHost, public FileScan {
 public:
  // Scans by `fixedRules`, or by each file's detected rules when null, on
  // `threads` threads in all, the walk's own included. Neither pointer nor
  // host is owned.
  ParallelFileScan(FinderHost& host, const EncodingRules* fixedRules, unsigned threads);
  ~ParallelFileScan() override;
  ParallelFileScan(const ParallelFileScan&) = delete;
  ParallelFileScan& operator=(const ParallelFileScan&) = delete;

  // Tells everything still queued, waiting for the files in flight. False
  // when the telling met the end of the walk (a stop, a quit, a lack of
  // memory): Failure() says which, and it came before anything the walk
  // itself failed at.
  bool Finish();
  const WalkFailure& Failure() const { return failure_; }

  // The walk's host: each call is queued and told in turn. A stop check
  // and a pump answer whether the telling has already met the walk's end.
  void Trace(std::string_view line) override;
  void FlushTrace() override;
  bool WantsTrace() const override { return wantsTrace_; }
  void AddFinding(const Finding& finding) override;
  void Diagnose(const Diagnostic& diagnostic) override;
  void FolderListed() override;
  void FileScanned(const ScannedFile& file) override;
  bool IsStopRequested() override;
  std::string GetRootPath() override { return host_.GetRootPath(); }
  bool PumpMessages() override;

  // Takes the open file over for a worker.
  void ScanFile(platform::TextFile& file, std::string relativePath, const std::string& path) override;

 private:
  struct FileJob;
  struct Step;
  struct Worker;
  struct HostScan;

  void Queue(Step step);
  // Queues, as a record already done, a call the walk made on `call`'s
  // recorder.
  template <class Call>
  void QueueRecorded(std::string relativePath, Call call);
  // Tells the queued steps up to the first file not yet scanned.
  void TellReady();
  // Waits for the first queued file, scanning files meanwhile, then tells
  // what is ready.
  void TellFirstFile();
  // Scans the first file for the host itself; false when memory ran out,
  // which ends the walk.
  bool ScanForHost(FileJob& job);
  void Tell(Step& step);
  void End(WalkFailure::Kind kind, std::string path, std::string reason);
  void StartWorkers();
  void RunWorker(Worker* worker);
  void RunJob(Worker& worker, FileJob& job);
  // A job whose record keeps the memory a told file's had, or a new one.
  std::unique_ptr<FileJob> TakeSpareJob();
  void KeepSpareJob(std::unique_ptr<FileJob> job);
  // Takes the oldest file no thread has started; null when none is left.
  FileJob* TakePending();
  void StopWorkers();

  FinderHost& host_;
  const EncodingRules* fixedRules_;
  const unsigned threads_;
  const bool wantsTrace_;
  const FindingRenderer* const renderer_;
  const TraceRenderer* const traceRenderer_;
  const std::size_t fileWindow_;  // files queued and not yet told, at most

  std::deque<Step> steps_;  // walk thread only
  std::size_t filesQueued_ = 0;
  std::uint64_t bytesMet_ = 0;  // of the files the walk has opened
  bool workersStarted_ = false;
  bool ended_ = false;
  WalkFailure failure_;
  Finding scratch_;  // the finding told, reused
  std::unique_ptr<Worker> walkWorker_;  // the walk thread's own, for files it scans ahead
  std::unique_ptr<HostScan> hostScan_;  // the walk thread's own, for files at their turn
  std::vector<std::unique_ptr<FileJob>> spareJobs_;  // told, their records emptied

  std::mutex mutex_;
  std::condition_variable workQueued_;
  std::condition_variable jobDone_;
  std::deque<FileJob*> pending_;  // files no thread has started, oldest first
  bool stopping_ = false;
  std::atomic<bool> cancel_{false};  // scans in progress end at their next line
  std::vector<std::thread> workerThreads_;
};

}  // namespace quillmark::engine
