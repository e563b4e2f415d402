// Where a search's reports go on a console: findings, trace lines or a
// data form to a stream, diagnostics to another.
#pragma once

#include <chrono>
#include <cstdio>
#include <memory>
#include <stop_token>
#include <string>

#include "cli/finding_lines.h"
#include "engine/search_options.h"
#include "engine/search_sink.h"
#include "report/format_writer.h"

namespace quillmark::cli {

enum class ConsoleOutput {
  Grep,  // PATH:LINE: TEXT (PATH from the root as typed), text in UTF-8
  Raw,   // TEXT TAB LINE TAB PATH, text as recorded (Shift_JIS, or a UTF-8 file's own)
  Log,   // every trace line, byte for byte
  Data,  // a report::FormatWriter's form: JSON Lines, CSV, SARIF, gettext
};

struct ConsoleSettings {
  ConsoleOutput output = ConsoleOutput::Grep;
  std::unique_ptr<report::FormatWriter> writer;  // for Data
  bool column = false;  // PATH:LINE:COLUMN: TEXT in the grep form
  bool quiet = false;   // no warnings on the diagnostics stream
  bool color = false;   // path magenta, line and column green in the grep form
  // The data forms' writer was made for the root "." (several roots, or a
  // file): paths are then given to it from this absolute folder.
  std::string dataBase;
};

class ConsoleSink final : public engine::SearchSink {
 public:
  ConsoleSink(std::FILE* out, std::FILE* diagnostics, ConsoleSettings settings);

  // The root walked next: as typed, and the absolute folder its relative
  // paths start from; a file root is shown as typed, never joined.
  void SetRoot(std::string rootPath, std::string rootAbsolute, bool isFile);

  // What the search is to make for this sink: the trace only for the log
  // form, columns only where they are printed, the grep and raw lines on
  // the threads that scan. A failed write stops the walk through `stop`.
  void Configure(engine::SearchOptions& options);

  void Take(engine::FileReport& report) override;

  // Writes what a data form keeps to its end, with the walk's outcome.
  void Finish(bool completed);
  std::size_t FindingCount() const { return summary_.findings; }
  bool OutputFailed() const { return outputFailed_; }
  // Whether a root could not be listed (missing, say).
  bool RootFailed() const { return rootFailed_; }
  // The --stats lines: what the walk did, as counted.
  std::string StatsText() const;

 private:
  void Write(std::string_view bytes);
  void Diagnose(const engine::Diagnostic& diagnostic);
  void Count(const engine::ScannedFile& file);
  // A finding's or diagnostic's path as shown on the console.
  std::string ShownPath(const std::string& relativePath) const;
  // Its path as the data forms' writer takes it.
  std::string DataPath(const std::string& relativePath) const;

  std::FILE* out_;
  std::FILE* diagnostics_;
  ConsoleSettings settings_;
  std::string rootAbsolute_;
  bool rootFailed_ = false;
  report::ScanSummary summary_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  // Once a write has failed (the reader is gone, the disk is full) the
  // walk has nobody to report to: it stops at the next entry.
  std::stop_source stop_;
  bool outputFailed_ = false;
  std::string record_;
  FindingLines lines_;  // the root as typed, and whether it is a file, too
};

}  // namespace quillmark::cli
