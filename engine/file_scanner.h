// The scan of one open source file into its report: its encoding fixed or
// detected from its bytes, then its lines through one literal scanner.
#pragma once

#include <atomic>
#include <string>

#include "engine/c_lexer.h"
#include "engine/encoding_detection.h"
#include "engine/file_report.h"
#include "engine/literal_scanner.h"
#include "engine/report_builder.h"
#include "engine/search_options.h"
#include "platform/text_file.h"

namespace quillmark::engine {

class FileScanner {
 public:
  // Neither is owned. Once `cancel` is set (null: never), the file being
  // scanned ends at its next line, as if it ended there.
  FileScanner(const SearchOptions& options, const std::atomic<bool>* cancel);

  // Reads the file open as `file` to its end into `report`; `path` is its
  // full path, `relativePath` names its findings. A read that fails is the
  // report's failure, after what was read before it.
  void Scan(platform::Descriptor file, const std::string& relativePath, const std::string& path, FileReport& report);

  // Gives back the read buffer, however large it grew.
  void Release() {
    file_.Release();
    std::string().swap(text_);
  }

 private:
  void FailRead(const platform::SystemError& error, const std::string& relativePath, const std::string& path);

  // Reads the lines through the line scanner; false when it stopped early.
  bool ScanLines();
  // Reads the whole text, then through the C lexer.
  void LexWhole(const std::string& relativePath);

  const EncodingRules* fixedRules_;
  const bool cLexer_;
  const std::atomic<bool>* cancel_;
  ReportBuilder out_;
  LiteralScanner scanner_;
  CLexer lexer_;
  platform::TextFile file_;
  std::string text_;  // the C lexer's whole file, its memory reused
  std::uint64_t bytes_ = 0;  // of the file being scanned
};

}  // namespace quillmark::engine
