// The scan of one source file: its encoding fixed or detected from its
// bytes, then its lines through one literal scanner.
#pragma once

#include <atomic>
#include <string>

#include "engine/encoding_detection.h"
#include "engine/encoding_rules.h"
#include "engine/finder_host.h"
#include "engine/folder_walker.h"
#include "engine/literal_scanner.h"
#include "engine/trace_text.h"

namespace quillmark::engine {

class SourceFileScan final : public FileScan {
 public:
  // Reads every file by `fixedRules`, or by the rules its bytes call for
  // when null. The host is not owned.
  SourceFileScan(FinderHost& host, const EncodingRules* fixedRules);

  void ScanFile(platform::TextFile& file, std::string relativePath, const std::string& path) override;

  // A flag that, once set, ends the file being scanned at its next line,
  // as if it had ended there. Not owned; null for none.
  void SetCancel(const std::atomic<bool>* cancel) { cancel_ = cancel; }

 private:
  DetectedEncoding Detect(platform::TextFile& file);

  FinderHost& host_;
  const EncodingRules* fixedRules_;
  LiteralScanner scanner_;
  TraceText trace_;
  const std::atomic<bool>* cancel_ = nullptr;
};

}  // namespace quillmark::engine
