#include "cli/finding_lines.h"

#include "report/finding_text.h"

namespace quillmark::cli {

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
  const char* const path = color ? "\x1b[35m" : "";
  const char* const number = color ? "\x1b[32m" : "";
  const char* const reset = color ? "\x1b[0m" : "";
  out.append(path).append(ShownPath(finding.path)).append(reset).append(1, ':');
  out.append(number).append(report::LineText(finding)).append(reset);
  if (column) out.append(1, ':').append(number).append(std::to_string(finding.column)).append(reset);
  out.append(": ").append(report::TrimmedText(finding)).append(1, '\n');
}

}  // namespace quillmark::cli
