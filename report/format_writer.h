// One form of report (JSON Lines, CSV, SARIF, a gettext template): findings
// and diagnostics go in as the search makes them, bytes come out. Each
// call appends to `out`; the caller sends them on (to a stream, into a file)
// when it likes. A form that must see everything first (SARIF, gettext)
// writes at End.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/diagnostic.h"
#include "engine/finding.h"
#include "engine/search_options.h"

namespace quillmark::report {

// What a search did, for the forms that end with a summary.
struct ScanSummary {
  // Files scanned, by the name of the encoding each was read in ("ASCII",
  // "SJIS-JP", "EUC-JP", "UTF-8"), in the order first seen.
  std::vector<std::pair<std::string, std::uint64_t>> filesByEncoding;
  std::uint64_t folders = 0;
  std::uint64_t files = 0;
  std::uint64_t filesEndedEarly = 0;  // by a literal left open on its line
  std::uint64_t findings = 0;
  std::uint64_t bytes = 0;
  bool completed = false;  // the walk reached its end
  double seconds = 0;
};

// Where the findings come from.
struct ReportContext {
  std::string root;          // as the user typed it (trimmed)
  std::string rootAbsolute;  // absolute and normalised, for SARIF's base URI
  std::string version;       // the program's version, "0.5.0"
  // The lexer the findings were read with: only the C lexer's carry a
  // prefix and a raw mark, so only its reports have room for them.
  engine::Lexer lexer = engine::Lexer::Line;
};

class FormatWriter {
 public:
  virtual ~FormatWriter() = default;
  virtual void Begin(std::string& /*out*/) {}
  virtual void AddFinding(const engine::Finding& finding, std::string& out) = 0;
  virtual void AddDiagnostic(const engine::Diagnostic& /*diagnostic*/, std::string& /*out*/) {}
  virtual void End(const ScanSummary& /*summary*/, std::string& /*out*/) {}
};

}  // namespace quillmark::report
