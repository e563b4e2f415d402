// The C lexer over random files in Shift_JIS, EUC-JP and UTF-8: no crash
// or sanitizer report, findings in order of their lines and within the
// file, diagnostics on lines of the file, and in UTF-8 (where every
// backslash starts a character) each finding's content is bytes of the
// file: a raw string's as written, any other's once splices are removed.
//
// Input: a flags byte (bit 0 EUC-JP, bit 1 UTF-8 over bit 0), then the file.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/c_lexer.h"
#include "engine/file_report.h"
#include "engine/report_builder.h"
#include "engine/search_options.h"
#include "tests/fuzz/fuzz_check.h"

namespace quillmark::fuzz {
namespace {

std::string WithoutSplices(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\n') {
      ++i;
      continue;
    }
    out += text[i];
  }
  return out;
}

}  // namespace
}  // namespace quillmark::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillmark;
  if (size < 1) return 0;
  const std::uint8_t flags = data[0];
  const engine::EncodingRules& rules = (flags & 2)   ? engine::Utf8Rules()
                                       : (flags & 1) ? engine::EucJpRules()
                                                     : engine::ShiftJisRules();
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  engine::SearchOptions options;
  engine::FileReport report;
  engine::ReportBuilder out(options);
  out.SetReport(report);
  engine::CLexer lexer(out, rules);
  lexer.Scan(text, "f.c");

  const auto lines = static_cast<std::int64_t>(std::count(text.begin(), text.end(), '\n')) + 1;
  std::int64_t last = 1;
  const std::string spliceless = (flags & 2) ? fuzz::WithoutSplices(text) : std::string();
  for (const engine::Finding& f : report.findings) {
    fuzz::Check(f.line >= last && f.line <= lines, "findings come in order of their lines, within the file");
    fuzz::Check(f.column >= 1, "a column counts from one");
    last = f.line;
    if (flags & 2) {
      const bool found = f.raw ? text.find(f.content) != std::string_view::npos
                               : spliceless.find(f.content) != std::string::npos;
      fuzz::Check(found, "a finding's content is bytes of the file: " + fuzz::Escaped(f.content));
    }
    fuzz::Check(f.raw || f.content.find("\\\n") == std::string::npos || (flags & 2) == 0,
                "no splice is left in an ordinary literal");
  }
  for (const engine::Diagnostic& d : report.diagnostics) {
    fuzz::Check(d.restScanned && d.line >= 1 && d.line <= lines, "a literal left open is on a line of the file");
  }
  return 0;
}
