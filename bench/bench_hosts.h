// Hosts that keep nothing the engine hands them, so that memory stays flat
// however big the tree: one only counts findings, one also writes every
// trace line out, so that formatting and output are paid for, and one
// tallies what the trace says.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

#include "bench/interrupt.h"
#include "engine/finder_host.h"

namespace quillmark::bench {

class FindingCounterHost final : public engine::FinderHost {
 public:
  explicit FindingCounterHost(std::string rootPath) : rootPath_(std::move(rootPath)) {}

  void Trace(std::string_view) override {}
  void FlushTrace() override {}
  bool WantsTrace() const override { return false; }
  void AddFinding(const engine::Finding&) override { ++findings; }
  bool IsStopRequested() override { return InterruptRequested(); }
  std::string GetRootPath() override { return rootPath_; }
  bool PumpMessages() override { return true; }

  std::uint64_t findings = 0;

 private:
  std::string rootPath_;
};

class TraceWriterHost final : public engine::FinderHost {
 public:
  TraceWriterHost(std::string rootPath, std::FILE* out) : rootPath_(std::move(rootPath)), out_(out) {}

  void Trace(std::string_view line) override {
    std::fwrite(line.data(), 1, line.size(), out_);
    std::fputc('\n', out_);
    traceBytes += line.size() + 1;
    ++traceLines;
  }
  void FlushTrace() override { std::fflush(out_); }
  void AddFinding(const engine::Finding&) override { ++findings; }
  bool IsStopRequested() override { return InterruptRequested(); }
  std::string GetRootPath() override { return rootPath_; }
  bool PumpMessages() override { return true; }

  std::uint64_t findings = 0;
  std::uint64_t traceBytes = 0;
  std::uint64_t traceLines = 0;

 private:
  std::string rootPath_;
  std::FILE* out_;
};

// What a traced walk said, tallied rather than kept.
struct TraceTally {
  std::uint64_t findings = 0;
  std::uint64_t traceLines = 0;
  std::uint64_t asciiFiles = 0;  // by the "-- encoding:" lines
  std::uint64_t sjisFiles = 0;
  std::uint64_t eucFiles = 0;
  std::uint64_t utf8Files = 0;
  std::uint64_t errorLines = 0;
  std::uint64_t filesEndedEarly = 0;         // at a literal left open, or unopened
  std::uint64_t bytesOfFilesEndedEarly = 0;  // whole files, however late they ended
  bool completed = true;                     // the walk reached its end
};

// For the checks of a walk that are not timed: which encoding each file
// was read in, and in which files the scan ended early.
class TraceTallyHost final : public engine::FinderHost {
 public:
  explicit TraceTallyHost(std::string rootPath) : rootPath_(std::move(rootPath)) {}

  void Trace(std::string_view line) override {
    ++tally.traceLines;
    if (line.starts_with(kAnalyze)) {
      path_.assign(line.substr(kAnalyze.size()));
      endedEarly_ = false;
    } else if (line.starts_with(kEncoding)) {
      const std::string_view name = line.substr(kEncoding.size());
      if (name == "ASCII") ++tally.asciiFiles;
      else if (name == "SJIS-JP") ++tally.sjisFiles;
      else if (name == "EUC-JP") ++tally.eucFiles;
      else if (name == "UTF-8") ++tally.utf8Files;
    } else if (line.starts_with("Error:")) {
      ++tally.errorLines;
      if (!endedEarly_) {
        endedEarly_ = true;
        ++tally.filesEndedEarly;
        struct stat status {};
        if (::stat(path_.c_str(), &status) == 0)
          tally.bytesOfFilesEndedEarly += static_cast<std::uint64_t>(status.st_size);
      }
    }
  }
  void FlushTrace() override {}
  void AddFinding(const engine::Finding&) override { ++tally.findings; }
  bool IsStopRequested() override { return InterruptRequested(); }
  std::string GetRootPath() override { return rootPath_; }
  bool PumpMessages() override { return true; }

  TraceTally tally;

 private:
  static constexpr std::string_view kAnalyze = "-- analyze:";
  static constexpr std::string_view kEncoding = "-- encoding:";

  std::string rootPath_;
  std::string path_;  // of the file being scanned
  bool endedEarly_ = false;
};

}  // namespace quillmark::bench
