// Hosts that keep nothing the engine hands them, so that memory stays flat
// however big the tree: one only counts findings, one also writes every
// trace line out, so that formatting and output are paid for, and one
// tallies what the trace says.
#pragma once

#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <stop_token>
#include <string_view>
#include <utility>

#include "bench/interrupt.h"
#include "engine/search_sink.h"

namespace quillmark::bench {

// Stops the walk at the next report once the user interrupts the bench.
class InterruptibleSink : public engine::SearchSink {
 public:
  std::stop_token StopToken() const { return stop_.get_token(); }

 protected:
  void CheckInterrupt() {
    if (InterruptRequested()) stop_.request_stop();
  }

 private:
  std::stop_source stop_;
};

class FindingCounterHost final : public InterruptibleSink {
 public:
  void Take(engine::FileReport& report) override {
    findings += report.findingCount;
    CheckInterrupt();
  }

  std::uint64_t findings = 0;
};

class TraceWriterHost final : public InterruptibleSink {
 public:
  explicit TraceWriterHost(std::FILE* out) : out_(out) {}

  void Take(engine::FileReport& report) override {
    std::fwrite(report.trace.data(), 1, report.trace.size(), out_);
    traceBytes += report.trace.size();
    traceLines += static_cast<std::uint64_t>(std::count(report.trace.begin(), report.trace.end(), '\n'));
    findings += report.findingCount;
    CheckInterrupt();
  }

  std::uint64_t findings = 0;
  std::uint64_t traceBytes = 0;
  std::uint64_t traceLines = 0;

 private:
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
class TraceTallyHost final : public InterruptibleSink {
 public:
  void Take(engine::FileReport& report) override {
    std::string_view trace = report.trace;
    while (!trace.empty()) {
      const std::size_t end = trace.find('\n');
      Tally(trace.substr(0, end));
      trace.remove_prefix(end == std::string_view::npos ? trace.size() : end + 1);
    }
    tally.findings += report.findingCount;
    CheckInterrupt();
  }

  TraceTally tally;

 private:
  static constexpr std::string_view kAnalyze = "-- analyze:";
  static constexpr std::string_view kEncoding = "-- encoding:";

  void Tally(std::string_view line) {
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

  std::string path_;  // of the file being scanned
  bool endedEarly_ = false;
};

}  // namespace quillmark::bench
