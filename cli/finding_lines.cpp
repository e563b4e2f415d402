#include "cli/finding_lines.h"

#include <charconv>
#include <cstdint>
#include <string_view>

#include "report/finding_text.h"

namespace quillmark::cli {
namespace {

void AppendNumber(std::int64_t number, std::string& out) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
  out.append(digits, static_cast<std::size_t>(end - digits));
}

}  // namespace

std::string FindingLines::ShownPath(const std::string& relativePath) const {
  return rootIsFile ? rootPath : report::PathFromRoot(rootPath, relativePath);
}

void FindingLines::Render(const engine::Finding& finding, std::string& out) const {
  if (form == Form::Raw) {
    out.append(report::RecordedText(finding)).append(1, '\t').append(report::LineText(finding));
    out.append(1, '\t').append(finding.path).append(1, '\n');
    return;
  }
  // ripgrep's colours: the path magenta, numbers green, separators plain.
  const std::string_view path = color ? "\x1b[35m" : "";
  const std::string_view number = color ? "\x1b[32m" : "";
  const std::string_view reset = color ? "\x1b[0m" : "";
  out.append(path);
  if (rootIsFile) out.append(rootPath);
  else report::AppendPathFromRoot(rootPath, finding.path, out);
  out.append(reset).append(1, ':').append(number);
  AppendNumber(finding.line, out);
  out.append(reset);
  if (column) {
    out.append(1, ':').append(number);
    AppendNumber(finding.column, out);
    out.append(reset);
  }
  out.append(": ");
  report::AppendTrimmedText(finding, out);
  out += '\n';
}

}  // namespace quillmark::cli
