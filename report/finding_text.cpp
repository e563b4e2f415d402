#include "report/finding_text.h"

#include "engine/euc_encoding.h"
#include "platform/code_page.h"
#include "platform/path.h"

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
  std::string text;
  AppendTrimmedText(finding, text);
  return text;
}

void AppendTrimmedText(const engine::Finding& finding, std::string& out) {
  // Padding that is trimmed again is no padding: only EUC-JP needs the
  // recorded text made first.
  std::string converted;
  std::string_view text = finding.content;
  if (finding.encoding == engine::SourceEncoding::EucJp) {
    converted = RecordedText(finding);
    text = converted;
  }
  const std::size_t end = text.find_last_not_of(' ');
  text = text.substr(0, end == std::string_view::npos ? 0 : end + 1);
  if (finding.encoding == engine::SourceEncoding::Utf8) out.append(text);
  else platform::AppendCp932ToUtf8(text, out);
}

std::string ContentText(const engine::Finding& finding) { return ToUtf8(finding, InShownEncoding(finding, 0)); }

std::string ToValidUtf8(std::string_view bytes) {
  if (platform::IsValidUtf8(bytes)) return std::string(bytes);
  std::string out;
  while (!bytes.empty()) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t length = platform::Utf8SequenceLength(data[0]);
    char32_t codePoint;
    if (length > bytes.size() || !platform::DecodeUtf8Sequence(data, length, codePoint)) length = 0;
    if (length == 0) out += "\xEF\xBF\xBD";
    else out += bytes.substr(0, length);
    bytes.remove_prefix(length == 0 ? 1 : length);
  }
  return out;
}

std::string LineText(const engine::Finding& finding) { return std::to_string(finding.line); }

std::string_view EncodingName(engine::SourceEncoding encoding) {
  switch (encoding) {
    case engine::SourceEncoding::ShiftJis: return platform::kShiftJisNames.shown;
    case engine::SourceEncoding::EucJp: return platform::kEucJpNames.shown;
    case engine::SourceEncoding::Utf8: return platform::kUtf8Names.shown;
  }
  return {};
}

std::string PathFromRoot(std::string_view root, std::string_view relativePath) {
  std::string path;
  AppendPathFromRoot(root, relativePath, path);
  return path;
}

void AppendPathFromRoot(std::string_view root, std::string_view relativePath, std::string& out) {
  out.append(root);
  if (relativePath.empty()) return;
  if (root.empty() || (root.back() != '/' && root.back() != platform::kPathSeparator)) out += platform::kPathSeparator;
  out.append(relativePath);
}

}  // namespace quillmark::report
