#include "report/finding_text.h"

#include "engine/euc_encoding.h"
#include "platform/code_page.h"
#include "platform/path.h"

namespace quillmark::report {
namespace {

// A raw string's content on one line, each line break as the two
// characters \ and n. 0x0A is never part of a Shift_JIS, EUC-JP or UTF-8
// character, so the bytes can be replaced before any conversion.
std::string OnOneLine(std::string_view content) {
  std::string line;
  line.reserve(content.size() + 2);
  for (const char c : content) {
    if (c == '\n') line += "\\n";
    else line += c;
  }
  return line;
}

// The content in Shift_JIS (or a UTF-8 file's as it is) after `padTo`
// bytes of padding were added in the file's own encoding; for a line form
// (`oneLine`), its line breaks shown first.
std::string InShownEncoding(const engine::Finding& finding, std::size_t padTo, bool oneLine) {
  std::string padded = oneLine && finding.content.find('\n') != std::string::npos ? OnOneLine(finding.content)
                                                                                   : finding.content;
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

std::string RecordedText(const engine::Finding& finding) {
  return InShownEncoding(finding, engine::kFindingTextWidth, true);
}

std::string DisplayText(const engine::Finding& finding) { return ToUtf8(finding, RecordedText(finding)); }

std::string TrimmedText(const engine::Finding& finding) {
  std::string text;
  AppendTrimmedText(finding, text);
  return text;
}

void AppendTrimmedText(const engine::Finding& finding, std::string& out) {
  // Padding that is trimmed again is no padding: only EUC-JP and a text
  // with a line break need the recorded text made first.
  std::string converted;
  std::string_view text = finding.content;
  if (finding.encoding == engine::SourceEncoding::EucJp || text.find('\n') != std::string_view::npos) {
    converted = RecordedText(finding);
    text = converted;
  }
  const std::size_t end = text.find_last_not_of(' ');
  text = text.substr(0, end == std::string_view::npos ? 0 : end + 1);
  if (finding.encoding == engine::SourceEncoding::Utf8) out.append(text);
  else platform::AppendCp932ToUtf8(text, out);
}

std::string ContentText(const engine::Finding& finding) { return ToUtf8(finding, InShownEncoding(finding, 0, false)); }

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
