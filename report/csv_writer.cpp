#include "report/csv_writer.h"

#include <string>
#include <string_view>

#include "platform/code_page.h"
#include "report/finding_text.h"

namespace quillmark::report {
namespace {

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
  explicit CsvWriter(const ReportContext& context)
      : root_(context.root), lexedAsC_(context.lexer == engine::Lexer::C) {}

  void Begin(std::string& out) override {
    // The mark tells a spreadsheet the file is UTF-8, not the locale's code page.
    out += "\xEF\xBB\xBF";
    out += lexedAsC_ ? "path,line,column,text,encoding,prefix,raw\r\n" : "path,line,column,text,encoding\r\n";
  }

  // A spreadsheet cannot hold bytes, so what is not UTF-8 is made so, at a
  // loss: a path is a name the system gave, most likely CP932 on a
  // Japanese tree, so it is displayed as such; the content of a UTF-8 file
  // is as written and may hold stray bytes, which become U+FFFD.
  void AddFinding(const engine::Finding& finding, std::string& out) override {
    AppendField(platform::ToDisplayText(PathFromRoot(root_, finding.path)), out);
    out += ',';
    out += std::to_string(finding.line);
    out += ',';
    out += std::to_string(finding.column);
    out += ',';
    AppendField(ToValidUtf8(ContentText(finding)), out);
    out += ',';
    AppendField(EncodingName(finding.encoding), out);
    if (lexedAsC_) {
      out += ',';
      AppendField(finding.prefix, out);
      out += finding.raw ? ",true" : ",false";
    }
    out += "\r\n";
  }

 private:
  std::string root_;
  bool lexedAsC_;
};

}  // namespace

std::unique_ptr<FormatWriter> MakeCsvWriter(const ReportContext& context) {
  return std::make_unique<CsvWriter>(context);
}

}  // namespace quillmark::report
