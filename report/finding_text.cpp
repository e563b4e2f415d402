#include "report/finding_text.h"

#include "engine/euc_encoding.h"
#include "platform/code_page.h"

namespace quillmark::report {
namespace {

// The content in Shift_JIS (or a UTF-8 file's as it is) after `padTo`
// bytes of padding were added in the file's own encoding.
std::string InShownEncoding(const engine::Finding& finding, std::size_t padTo) {
  std::string padded = finding.content;
  if (padded.size() < padTo) padded.resize(padTo, ' ');
  if (finding.encoding != engine::SourceEncoding::EucJp) return padded;
  std::string converted;
  engine::EucEncoding().ToShiftJis(padded, converted);
  return converted;
}

std::string ToUtf8(const engine::Finding& finding, std::string text) {
  if (finding.encoding == engine::SourceEncoding::Utf8) return text;
  return platform::Cp932ToUtf8(text);
}

}  // namespace

std::string RecordedText(const engine::Finding& finding) { return InShownEncoding(finding, engine::kFindingTextWidth); }

std::string DisplayText(const engine::Finding& finding) { return ToUtf8(finding, RecordedText(finding)); }

std::string TrimmedText(const engine::Finding& finding) {
  std::string recorded = RecordedText(finding);
  recorded.erase(recorded.find_last_not_of(' ') + 1);
  return ToUtf8(finding, std::move(recorded));
}

std::string ContentText(const engine::Finding& finding) { return ToUtf8(finding, InShownEncoding(finding, 0)); }

std::string LineText(const engine::Finding& finding) { return std::to_string(finding.line); }

std::string_view EncodingName(engine::SourceEncoding encoding) {
  switch (encoding) {
    case engine::SourceEncoding::ShiftJis: return "SJIS-JP";
    case engine::SourceEncoding::EucJp: return "EUC-JP";
    case engine::SourceEncoding::Utf8: return "UTF-8";
  }
  return {};
}

std::string PathFromRoot(std::string_view root, std::string_view relativePath) {
  std::string path(root);
  if (relativePath.empty()) return path;
  if (path.empty() || path.back() != '/') path += '/';
  path += relativePath;
  return path;
}

}  // namespace quillmark::report
