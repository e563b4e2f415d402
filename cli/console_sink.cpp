#include "cli/console_sink.h"

#include <algorithm>

#include "platform/console.h"
#include "platform/path.h"
#include "report/finding_text.h"

namespace quillmark::cli {

ConsoleSink::ConsoleSink(std::FILE* out, std::FILE* diagnostics, ConsoleSettings settings)
    : out_(out), diagnostics_(diagnostics), settings_(std::move(settings)) {
  lines_.form = settings_.output == ConsoleOutput::Raw ? FindingLines::Form::Raw : FindingLines::Form::Grep;
  lines_.column = settings_.column;
  lines_.color = settings_.color;
  if (settings_.writer) {
    record_.clear();
    settings_.writer->Begin(record_);
    Write(record_);
  }
}

void ConsoleSink::SetRoot(std::string rootPath, std::string rootAbsolute, bool isFile) {
  rootAbsolute_ = std::move(rootAbsolute);
  lines_.rootPath = std::move(rootPath);
  lines_.rootIsFile = isFile;
}

std::string ConsoleSink::ShownPath(const std::string& relativePath) const { return lines_.ShownPath(relativePath); }

void ConsoleSink::Configure(engine::SearchOptions& options) {
  const ConsoleOutput output = settings_.output;
  options.trace = output == ConsoleOutput::Log;
  options.columns = output == ConsoleOutput::Data || (output == ConsoleOutput::Grep && settings_.column);
  options.traceRenderer = nullptr;  // the lines as traced, byte for byte
  options.findingRenderer = output == ConsoleOutput::Grep || output == ConsoleOutput::Raw ? &lines_ : nullptr;
  options.stop = stop_.get_token();
}

std::string ConsoleSink::DataPath(const std::string& relativePath) const {
  if (settings_.dataBase.empty()) return relativePath;
  const std::string file = relativePath.empty() ? rootAbsolute_ : platform::JoinPath(rootAbsolute_, relativePath);
  std::string path = platform::RelativePath(settings_.dataBase, file);
  return path.empty() ? file : path;
}

void ConsoleSink::Write(std::string_view bytes) {
  if (outputFailed_ || bytes.empty()) return;
  if (!platform::WriteStream(out_, bytes)) {
    outputFailed_ = true;
    stop_.request_stop();
  }
}

void ConsoleSink::Take(engine::FileReport& report) {
  if (report.folderListed) ++summary_.folders;
  summary_.findings += report.findingCount;
  switch (settings_.output) {
    case ConsoleOutput::Log:
      Write(report.trace);
      break;
    case ConsoleOutput::Raw:
    case ConsoleOutput::Grep:
      Write(report.rendered);
      break;
    case ConsoleOutput::Data:
      record_.clear();
      for (engine::Finding& finding : report.findings) {
        if (!settings_.dataBase.empty()) finding.path = DataPath(finding.path);
        settings_.writer->AddFinding(finding, record_);
      }
      Write(record_);
      break;
  }
  if (report.scanned) Count(*report.scanned);
  // A file's diagnostics come after what it gave before them.
  for (const engine::Diagnostic& diagnostic : report.diagnostics) Diagnose(diagnostic);
}

void ConsoleSink::Diagnose(const engine::Diagnostic& diagnostic) {
  if (settings_.writer) {
    record_.clear();
    if (settings_.dataBase.empty()) {
      settings_.writer->AddDiagnostic(diagnostic, record_);
    } else {
      engine::Diagnostic moved = diagnostic;
      moved.path = DataPath(diagnostic.path);
      settings_.writer->AddDiagnostic(moved, record_);
    }
    Write(record_);
  }
  const bool isRoot = diagnostic.kind == engine::Diagnostic::Kind::CannotListFolder && diagnostic.path.empty();
  if (isRoot) rootFailed_ = true;
  // The trace says it all in the log form.
  if (settings_.output == ConsoleOutput::Log && !isRoot) return;
  const std::string path = ShownPath(diagnostic.path);
  std::string message;
  switch (diagnostic.kind) {
    case engine::Diagnostic::Kind::CannotOpenFile:
      message = "quillmark-scan: " + path + ": cannot open: " + diagnostic.text;
      break;
    case engine::Diagnostic::Kind::CannotReadFile:
      message = "quillmark-scan: " + path + ": cannot read: " + diagnostic.text;
      break;
    case engine::Diagnostic::Kind::LiteralNotClosed:
      if (settings_.quiet) return;
      message = path + ":" + std::to_string(diagnostic.line) +
                (diagnostic.restScanned ? ": warning: literal not closed on its line"
                                       : ": warning: literal not closed on its line; the rest of the file is not scanned "
                                         "(--lexer c reads continued and raw literals)");
      break;
    case engine::Diagnostic::Kind::CannotListFolder:
      // A root that cannot be listed is an error, never quieted.
      if (isRoot) {
        message = "quillmark-scan: " + lines_.rootPath + ": " + diagnostic.text;
        break;
      }
      if (settings_.quiet) return;
      message = "quillmark-scan: " + path + ": cannot list the folder: " + diagnostic.text;
      break;
  }
  // In order with the findings when both streams go to one terminal.
  std::fflush(out_);
  (void)platform::WriteStream(diagnostics_, message + "\n");
}

void ConsoleSink::Count(const engine::ScannedFile& file) {
  ++summary_.files;
  summary_.bytes += file.bytes;
  if (file.endedEarly) ++summary_.filesEndedEarly;
  auto& byEncoding = summary_.filesByEncoding;
  auto found = std::find_if(byEncoding.begin(), byEncoding.end(),
                            [&](const auto& entry) { return entry.first == file.encodingName; });
  if (found == byEncoding.end()) byEncoding.emplace_back(std::string(file.encodingName), 1);
  else ++found->second;
}

void ConsoleSink::Finish(bool completed) {
  summary_.completed = completed;
  summary_.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  if (settings_.writer) {
    record_.clear();
    settings_.writer->End(summary_, record_);
    Write(record_);
  }
  if (!outputFailed_ && std::fflush(out_) != 0) outputFailed_ = true;
}

std::string ConsoleSink::StatsText() const {
  std::string text;
  text += std::to_string(summary_.findings) + " findings\n";
  text += std::to_string(summary_.files) + " files scanned";
  for (const auto& [name, count] : summary_.filesByEncoding) text += ", " + std::to_string(count) + " " + name;
  text += "\n" + std::to_string(summary_.filesEndedEarly) + " files ended early at a literal left open\n";
  text += std::to_string(summary_.folders) + " folders\n";
  text += std::to_string(summary_.bytes) + " bytes scanned\n";
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.3f", summary_.seconds);
  text += std::string(seconds) + " seconds\n";
  return text;
}

}  // namespace quillmark::cli
