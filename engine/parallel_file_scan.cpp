#include "engine/parallel_file_scan.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <utility>

#include "engine/scan_record.h"
#include "engine/source_file_scan.h"
#include "platform/text_file.h"

namespace quillmark::engine {
namespace {

// Enough files ahead that the walk's thread goes on listing folders while
// the others scan, rather than wait on a file (measured: 8 a thread left
// the window's search a fifth slower), few enough that their records stay
// small.
constexpr std::size_t kFilesPerThread = 32;
// The walk's own calls queued behind a file not yet scanned, at most.
constexpr std::size_t kMaxQueuedSteps = 4096;
// Threads are started only once the walk has met this many bytes of
// files: starting them costs about what scanning half a megabyte does
// (measured: 1-2 ms), so a small tree is scanned on the walk's thread
// alone, as fast as at one thread.
constexpr std::uint64_t kBytesBeforeThreads = 512 * 1024;
// A told file's record is kept for the next file, its memory with it,
// unless it grew past this: memory handed from thread to thread and back
// costs page faults at every file otherwise.
constexpr std::size_t kMaxKeptRecordBytes = 1 << 20;

// Files in flight, each holding a descriptor: 32 a thread, but never more
// than a quarter of the descriptors the process may open, nor than 1,024.
std::size_t FileWindow(unsigned threads) {
  std::size_t limit = 1024;
  rlimit descriptors{};
  if (getrlimit(RLIMIT_NOFILE, &descriptors) == 0 && descriptors.rlim_cur != RLIM_INFINITY)
    limit = std::min<std::size_t>(limit, descriptors.rlim_cur / 4);
  return std::max<std::size_t>(1, std::min<std::size_t>(kFilesPerThread * threads, limit));
}

}  // namespace

struct ParallelFileScan::FileJob {
  enum class State { Pending, Running, Done };

  FileJob(int openFd, std::string relative, std::string full)
      : fd(openFd), relativePath(std::move(relative)), path(std::move(full)) {}
  ~FileJob() {
    if (fd >= 0) ::close(fd);
  }
  FileJob(const FileJob&) = delete;
  FileJob& operator=(const FileJob&) = delete;

  int fd;  // until a thread takes the file over
  std::string relativePath;
  std::string path;
  ScanRecord record;
  State state = State::Pending;  // guarded by the mutex
};

struct ParallelFileScan::Step {
  // File: a file in flight. Record: calls the walk made itself that only
  // a file's scan makes otherwise, kept as a record already done.
  enum class Kind : std::uint8_t { Trace, FlushTrace, FolderListed, Diagnose, StopChecks, Pump, File, Record };

  Kind kind;
  std::uint64_t stopChecks = 0;  // StopChecks: how many in a row
  std::string text;              // Trace
  Diagnostic diagnostic;         // Diagnose
  std::unique_ptr<FileJob> job;  // File and Record
};

// What one thread scans with: its own scanner and buffer.
struct ParallelFileScan::Worker {
  explicit Worker(const ParallelFileScan& owner)
      : recorder(owner.wantsTrace_, owner.renderer_, owner.traceRenderer_, owner.host_.WantsColumns()),
        scan(recorder, owner.fixedRules_) {
    scan.SetCancel(&owner.cancel_);
  }

  RecordingHost recorder;
  SourceFileScan scan;
  platform::TextFile file;
};

// The walk thread's scan of a file whose turn has come, for the host.
struct ParallelFileScan::HostScan {
  HostScan(FinderHost& host, const EncodingRules* rules) : scan(host, rules) {}

  SourceFileScan scan;
  platform::TextFile file;
};

ParallelFileScan::ParallelFileScan(FinderHost& host, const EncodingRules* fixedRules, unsigned threads)
    : host_(host),
      fixedRules_(fixedRules),
      threads_(threads < 1 ? 1 : threads),
      wantsTrace_(host.WantsTrace()),
      renderer_(host.GetFindingRenderer()),
      traceRenderer_(host.GetTraceRenderer()),
      fileWindow_(FileWindow(threads_)) {}

ParallelFileScan::~ParallelFileScan() { StopWorkers(); }

void ParallelFileScan::StopWorkers() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    pending_.clear();
  }
  cancel_ = true;
  workQueued_.notify_all();
  for (std::thread& thread : workerThreads_) thread.join();
  workerThreads_.clear();
}

void ParallelFileScan::Queue(Step step) {
  if (ended_) return;
  steps_.push_back(std::move(step));
  TellReady();
  if (steps_.size() > kMaxQueuedSteps) TellFirstFile();
}

void ParallelFileScan::Trace(std::string_view line) { Queue(Step{Step::Kind::Trace, 0, std::string(line), {}, {}}); }

void ParallelFileScan::FlushTrace() { Queue(Step{Step::Kind::FlushTrace, 0, {}, {}, {}}); }

void ParallelFileScan::FolderListed() { Queue(Step{Step::Kind::FolderListed, 0, {}, {}, {}}); }

void ParallelFileScan::Diagnose(const Diagnostic& diagnostic) {
  Queue(Step{Step::Kind::Diagnose, 0, {}, diagnostic, {}});
}

template <class Call>
void ParallelFileScan::QueueRecorded(std::string relativePath, Call call) {
  auto job = std::make_unique<FileJob>(-1, std::move(relativePath), std::string());
  RecordingHost recorder(wantsTrace_);
  recorder.SetRecord(&job->record);
  call(recorder);
  job->state = FileJob::State::Done;
  Queue(Step{Step::Kind::Record, 0, {}, {}, std::move(job)});
}

// The walk makes no findings and scans no file itself; such calls are
// told in turn should it ever make them.
void ParallelFileScan::AddFinding(const Finding& finding) {
  QueueRecorded(finding.path, [&](RecordingHost& recorder) { recorder.AddFinding(finding); });
}

void ParallelFileScan::FileScanned(const ScannedFile& file) {
  QueueRecorded({}, [&](RecordingHost& recorder) { recorder.FileScanned(file); });
}

bool ParallelFileScan::IsStopRequested() {
  if (ended_) return true;
  // Checks in a row are one step: a folder of many entries that are no
  // sources queues one.
  if (!steps_.empty() && steps_.back().kind == Step::Kind::StopChecks) {
    ++steps_.back().stopChecks;
    TellReady();
  } else {
    Queue(Step{Step::Kind::StopChecks, 1, {}, {}, {}});
  }
  return ended_;
}

bool ParallelFileScan::PumpMessages() {
  Queue(Step{Step::Kind::Pump, 0, {}, {}, {}});
  return !ended_;
}

void ParallelFileScan::ScanFile(platform::TextFile& file, std::string relativePath, const std::string& path) {
  bytesMet_ += file.Size();
  const int fd = file.TakeDescriptor();
  if (ended_) {
    ::close(fd);
    return;
  }
  std::unique_ptr<FileJob> job = TakeSpareJob();
  job->fd = fd;
  job->relativePath = std::move(relativePath);
  job->path = path;
  job->state = FileJob::State::Pending;
  FileJob* const queued = job.get();
  {
    std::lock_guard lock(mutex_);
    pending_.push_back(queued);
  }
  steps_.push_back(Step{Step::Kind::File, 0, {}, {}, std::move(job)});
  ++filesQueued_;
  if (!workersStarted_ && bytesMet_ >= kBytesBeforeThreads) StartWorkers();
  workQueued_.notify_one();
  while (!ended_ && filesQueued_ >= fileWindow_) TellFirstFile();
}

void ParallelFileScan::StartWorkers() {
  // A thread that cannot be started leaves its share to the others and to
  // the walk's thread, which scans what nobody has taken.
  workersStarted_ = true;
  for (unsigned i = 1; i < threads_; ++i) {
    try {
      workerThreads_.emplace_back([this] {
        try {
          Worker worker(*this);
          RunWorker(&worker);
        } catch (const std::bad_alloc&) {
          // Its files are left to the other threads.
        }
      });
    } catch (const std::system_error&) {
      break;
    }
  }
}

void ParallelFileScan::RunWorker(Worker* worker) {
  std::unique_lock lock(mutex_);
  for (;;) {
    workQueued_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
    if (stopping_) return;
    FileJob* job = pending_.front();
    pending_.pop_front();
    job->state = FileJob::State::Running;
    lock.unlock();
    RunJob(*worker, *job);
    lock.lock();
    job->state = FileJob::State::Done;
    jobDone_.notify_all();
  }
}

void ParallelFileScan::RunJob(Worker& worker, FileJob& job) {
  try {
    worker.recorder.SetRecord(&job.record);
    const int fd = std::exchange(job.fd, -1);
    if (worker.file.Adopt(fd)) worker.scan.ScanFile(worker.file, job.relativePath, job.path);
    worker.file.Close();
  } catch (const std::bad_alloc&) {
    // Told at the file's turn, as the lack of memory that ends the walk.
    worker.file.Release();
    job.record.outOfMemory = true;
  }
}

std::unique_ptr<ParallelFileScan::FileJob> ParallelFileScan::TakeSpareJob() {
  if (spareJobs_.empty()) return std::make_unique<FileJob>(-1, std::string(), std::string());
  std::unique_ptr<FileJob> job = std::move(spareJobs_.back());
  spareJobs_.pop_back();
  return job;
}

void ParallelFileScan::KeepSpareJob(std::unique_ptr<FileJob> job) {
  ScanRecord& record = job->record;
  const std::size_t bytes = record.traceText.capacity() + record.contents.capacity() + record.rendered.capacity() +
                            record.findings.capacity() * sizeof(ScanRecord::RecordedFinding);
  if (bytes > kMaxKeptRecordBytes || spareJobs_.size() >= fileWindow_) return;
  record.Clear();
  spareJobs_.push_back(std::move(job));
}

ParallelFileScan::FileJob* ParallelFileScan::TakePending() {
  if (pending_.empty()) return nullptr;
  FileJob* job = pending_.front();
  pending_.pop_front();
  job->state = FileJob::State::Running;
  return job;
}

void ParallelFileScan::TellFirstFile() {
  // Whatever is told before a file has been; so the first step is a file.
  if (!ended_ && !steps_.empty()) {
    FileJob& first = *steps_.front().job;
    std::unique_lock lock(mutex_);
    while (first.state != FileJob::State::Done) {
      // Rather than wait, this thread scans the oldest file nobody has
      // started: the first one itself, when it is among them.
      FileJob* job = TakePending();
      if (job == nullptr) {
        jobDone_.wait(lock);
        continue;
      }
      lock.unlock();
      if (job == &first) {
        if (!ScanForHost(first)) return;
      } else {
        if (!walkWorker_) walkWorker_ = std::make_unique<Worker>(*this);
        RunJob(*walkWorker_, *job);
      }
      lock.lock();
      job->state = FileJob::State::Done;
    }
  }
  TellReady();
}

bool ParallelFileScan::ScanForHost(FileJob& job) {
  // Its turn has come: scanned straight for the host, as a walk on one
  // thread scans, with nothing kept to tell later.
  try {
    if (!hostScan_) hostScan_ = std::make_unique<HostScan>(host_, fixedRules_);
    const int fd = std::exchange(job.fd, -1);
    if (hostScan_->file.Adopt(fd)) hostScan_->scan.ScanFile(hostScan_->file, job.relativePath, job.path);
    hostScan_->file.Close();
    return true;
  } catch (const std::bad_alloc&) {
    if (hostScan_) hostScan_->file.Release();
    End(WalkFailure::Kind::OutOfMemory, job.path, std::strerror(ENOMEM));
    return false;
  }
}

void ParallelFileScan::TellReady() {
  while (!ended_ && !steps_.empty()) {
    Step& step = steps_.front();
    if (step.kind == Step::Kind::File) {
      std::lock_guard lock(mutex_);
      if (step.job->state != FileJob::State::Done) return;
    }
    Tell(step);
    if (ended_) return;
    if (step.kind == Step::Kind::File) {
      --filesQueued_;
      KeepSpareJob(std::move(step.job));
    }
    steps_.pop_front();
  }
}

void ParallelFileScan::Tell(Step& step) {
  switch (step.kind) {
    case Step::Kind::Trace:
      host_.Trace(step.text);
      break;
    case Step::Kind::FlushTrace:
      host_.FlushTrace();
      break;
    case Step::Kind::FolderListed:
      host_.FolderListed();
      break;
    case Step::Kind::Diagnose:
      host_.Diagnose(step.diagnostic);
      break;
    case Step::Kind::StopChecks:
      for (std::uint64_t i = 0; i < step.stopChecks; ++i)
        if (host_.IsStopRequested()) return End(WalkFailure::Kind::Stopped, {}, {});
      break;
    case Step::Kind::Pump:
      if (!host_.PumpMessages()) End(WalkFailure::Kind::Stopped, {}, {});
      break;
    case Step::Kind::File:
    case Step::Kind::Record:
      Replay(step.job->record, step.job->relativePath, host_, scratch_);
      if (step.job->record.outOfMemory) End(WalkFailure::Kind::OutOfMemory, step.job->path, std::strerror(ENOMEM));
      break;
  }
}

void ParallelFileScan::End(WalkFailure::Kind kind, std::string path, std::string reason) {
  ended_ = true;
  failure_ = WalkFailure{kind, std::move(path), std::move(reason)};
  // What the walk did past this point is thrown away; files being scanned
  // end at their next line, and none is started.
  StopWorkers();
  steps_.clear();
  filesQueued_ = 0;
}

bool ParallelFileScan::Finish() {
  while (!ended_ && !steps_.empty()) TellFirstFile();
  StopWorkers();
  return !ended_;
}

}  // namespace quillmark::engine
