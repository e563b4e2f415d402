// The scan of one open source file into its report: its encoding fixed or
// detected from its bytes, then its lines through one literal scanner.
#pragma once

#include <atomic>
#include <string>

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
  void Release() { file_.Release(); }

 private:
  void FailRead(const platform::SystemError& error, const std::string& relativePath, const std::string& path);

  const EncodingRules* fixedRules_;
  const std::atomic<bool>* cancel_;
  ReportBuilder out_;
  LiteralScanner scanner_;
  platform::TextFile file_;
};

}  // namespace quillmark::engine
