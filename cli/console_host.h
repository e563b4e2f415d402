// The engine's host on a console: findings, trace lines or a data form to
// a stream, diagnostics to another.
#pragma once

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "cli/finding_lines.h"
#include "engine/finder_host.h"
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

class ConsoleHost final : public engine::FinderHost {
 public:
  ConsoleHost(std::FILE* out, std::FILE* diagnostics, ConsoleSettings settings, std::string rootPath);

  // The root walked next: as typed, and the absolute folder its relative
  // paths start from; a file root is shown as typed, never joined.
  void SetRoot(std::string rootPath, std::string rootAbsolute, bool isFile);

  void Trace(std::string_view line) override;
  void FlushTrace() override;
  bool WantsTrace() const override { return settings_.output == ConsoleOutput::Log; }
  // Only the data forms and the grep form's --column print columns.
  bool WantsColumns() const override {
    return settings_.output == ConsoleOutput::Data || (settings_.output == ConsoleOutput::Grep && settings_.column);
  }
  void AddFinding(const engine::Finding& finding) override;
  // The grep and raw forms' lines may be made while scanning.
  const engine::FindingRenderer* GetFindingRenderer() const override;
  void AddRenderedFindings(std::string_view rendered, std::size_t count) override;
  void Diagnose(const engine::Diagnostic& diagnostic) override;
  void FolderListed() override { ++summary_.folders; }
  void FileScanned(const engine::ScannedFile& file) override;
  // Once a write has failed (the reader is gone, the disk is full) the
  // walk has nobody to report to: it stops at the next entry.
  bool IsStopRequested() override { return outputFailed_; }
  std::string GetRootPath() override { return lines_.rootPath; }
  bool PumpMessages() override { return true; }

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
  bool outputFailed_ = false;
  std::string record_;
  FindingLines lines_;  // the root as typed, and whether it is a file, too
};

}  // namespace quillmark::cli
