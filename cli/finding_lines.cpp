#include "cli/finding_lines.h"

#include "report/finding_lines.h"
#include "report/finding_text.h"

namespace quillmark::cli {

std::string FindingLines::ShownPath(const std::string& relativePath) const {
  return rootIsFile ? rootPath : report::PathFromRoot(rootPath, relativePath);
}

void FindingLines::Render(const engine::Finding& finding, std::string& out) const {
  if (form == Form::Raw) report::AppendRawLine(finding, out);
  else report::AppendGrepLine(finding, {rootPath, rootIsFile, column, color}, out);
  out += '\n';
}

}  // namespace quillmark::cli
