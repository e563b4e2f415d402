#include "report/finding_lines.h"

#include <charconv>
#include <cstdint>

#include "report/finding_text.h"

namespace quillmark::report {
namespace {

void AppendNumber(std::int64_t number, std::string& out) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
  out.append(digits, static_cast<std::size_t>(end - digits));
}

}  // namespace

void AppendGrepLine(const engine::Finding& finding, const GrepLineStyle& style, std::string& out) {
  // ripgrep's colours: the path magenta, numbers green, separators plain.
  const std::string_view path = style.color ? "\x1b[35m" : "";
  const std::string_view number = style.color ? "\x1b[32m" : "";
  const std::string_view reset = style.color ? "\x1b[0m" : "";
  out.append(path);
  if (style.rootIsFile) out.append(style.root);
  else AppendPathFromRoot(style.root, finding.path, out);
  out.append(reset).append(1, ':').append(number);
  AppendNumber(finding.line, out);
  out.append(reset);
  if (style.column) {
    out.append(1, ':').append(number);
    AppendNumber(finding.column, out);
    out.append(reset);
  }
  out.append(": ");
  AppendTrimmedText(finding, out);
}

void AppendRawLine(const engine::Finding& finding, std::string& out) {
  out.append(RecordedText(finding)).append(1, '\t');
  AppendNumber(finding.line, out);
  out.append(1, '\t').append(finding.path);
}

}  // namespace quillmark::report
