#include "report/csv_writer.h"

#include <string>
#include <string_view>

#include "platform/code_page.h"
#include "report/finding_text.h"

namespace quillmark::report {
namespace {

// A spreadsheet cannot hold bytes, so what is not UTF-8 is made so, at a
// loss: a path is a name the system gave, most likely CP932 on a Japanese
// tree, so it is decoded as CP932.
std::string PathAsUtf8(std::string path) {
  if (platform::IsValidUtf8(path)) return path;
  return platform::Cp932ToUtf8(path);
}

// The content of a UTF-8 file is as written, and may hold stray bytes:
// each byte that begins no character becomes U+FFFD, the rest is kept.
std::string TextAsUtf8(std::string text) {
  if (platform::IsValidUtf8(text)) return text;
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    const std::size_t length = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
    const std::string_view character = std::string_view(text).substr(i, length);
    if (platform::IsValidUtf8(character)) {
      out += character;
      i += character.size();
    } else {
      out += "\xEF\xBF\xBD";
      ++i;
    }
  }
  return out;
}

// RFC 4180: quoted, with its quotes doubled, when it holds a separator, a
// quote or a line end.
void AppendField(std::string_view field, std::string& out) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += field;
    return;
  }
  out += '"';
  for (const char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

class CsvWriter : public FormatWriter {
 public:
  explicit CsvWriter(const ReportContext& context) : root_(context.root) {}

  void Begin(std::string& out) override {
    // The mark tells a spreadsheet the file is UTF-8, not the locale's code page.
    out += "\xEF\xBB\xBF";
    out += "path,line,column,text,encoding\r\n";
  }

  void AddFinding(const engine::Finding& finding, std::string& out) override {
    AppendField(PathAsUtf8(PathFromRoot(root_, finding.path)), out);
    out += ',';
    out += std::to_string(finding.line);
    out += ',';
    out += std::to_string(finding.column);
    out += ',';
    AppendField(TextAsUtf8(ContentText(finding)), out);
    out += ',';
    AppendField(EncodingName(finding.encoding), out);
    out += "\r\n";
  }

 private:
  std::string root_;
};

}  // namespace

std::unique_ptr<FormatWriter> MakeCsvWriter(const ReportContext& context) {
  return std::make_unique<CsvWriter>(context);
}

}  // namespace quillmark::report
