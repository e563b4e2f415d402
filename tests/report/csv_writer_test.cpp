#include "report/csv_writer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "report/finding_text.h"
#include "tests/support/temp_tree.h"
#include "tests/support/slashed.h"

namespace quillmark::report {
namespace {

using engine::Diagnostic;
using engine::Finding;
using engine::SourceEncoding;

constexpr std::string_view kHeader = "\xEF\xBB\xBFpath,line,column,text,encoding\r\n";

std::string Row(const Finding& finding, const std::string& root = "root") {
  std::string out;
  MakeCsvWriter(ReportContext{root, "/abs/root", "0.5.0"})->AddFinding(finding, out);
  return out;
}

TEST(CsvWriter, QuotesTheFieldsThatHoldACommaAQuoteOrALineEnd) {
  const struct {
    SourceEncoding encoding;
    std::string content;
    std::string field;
  } cases[] = {
      {SourceEncoding::ShiftJis, "plain", "plain"},
      {SourceEncoding::ShiftJis, " spaced ", " spaced "},
      {SourceEncoding::ShiftJis, "a,b", "\"a,b\""},
      {SourceEncoding::ShiftJis, "say \\\"hi\\\"", "\"say \\\"\"hi\\\"\"\""},
      {SourceEncoding::ShiftJis, "\"", "\"\"\"\""},
      {SourceEncoding::ShiftJis, "a\rb", "\"a\rb\""},
      {SourceEncoding::ShiftJis, "a\nb", "\"a\nb\""},
      {SourceEncoding::ShiftJis, "a;b\t'", "a;b\t'"},
      {SourceEncoding::ShiftJis, "\x82\xA0,", "\"\xE3\x81\x82,\""},
      {SourceEncoding::EucJp, "\xA4\xA2", "\xE3\x81\x82"},
      {SourceEncoding::Utf8, "\xE3\x81\x82", "\xE3\x81\x82"},
      {SourceEncoding::Utf8, "a\xFF\xE3\x81" "b", "a\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD" "b"},  // stray bytes
  };
  for (const auto& c : cases) {
    const std::string encoding(EncodingName(c.encoding));
    EXPECT_EQ(Row(Finding{c.content, 12, 7, "src/a.c", c.encoding, '"', {}}),
              "root" + testing::kJoin + "src/a.c,12,7," + c.field + "," + encoding + "\r\n")
        << c.content;
  }
}

TEST(CsvWriter, EndsTheHeaderAndEachRowWithTheCLexersPrefixAndRawMark) {
  auto writer = MakeCsvWriter(ReportContext{"r", "/r", "0.5.0", engine::Lexer::C});
  std::string out;
  writer->Begin(out);
  writer->AddFinding(Finding{"x", 1, 2, "a.c", SourceEncoding::Utf8, '"', "L", false}, out);
  writer->AddFinding(Finding{"a\nb", 3, 4, "a.c", SourceEncoding::Utf8, '"', "", true}, out);
  const std::string path = "r" + testing::kJoin + "a.c";
  EXPECT_EQ(out, "\xEF\xBB\xBFpath,line,column,text,encoding,prefix,raw\r\n" + path + ",1,2,x,UTF-8,L,false\r\n" +
                     path + ",3,4,\"a\nb\",UTF-8,,true\r\n");
}

TEST(CsvWriter, DecodesAPathThatIsNoUtf8AsCp932) {
  const struct {
    std::string root;
    std::string path;
    std::string field;
  } cases[] = {
      {"top/", "\x83\x5C.c", "top/\xE3\x82\xBD.c"},  // ソ
      {"top", "a,b/\xE3\x81\x82.c", "\"top/a,b/\xE3\x81\x82.c\""},
      {"/", "q\"/x.c", "\"/q\"\"/x.c\""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Row(Finding{"x", 1, 2, c.path, SourceEncoding::ShiftJis, '\'', {}}, c.root), c.field + ",1,2,x,SJIS-JP\r\n");
}

TEST(CsvWriter, BeginsWithTheMarkAndHeaderAndWritesNothingForDiagnosticsOrAtTheEnd) {
  auto writer = MakeCsvWriter(ReportContext{"root", "/root", "0.5.0"});
  std::string out;
  writer->Begin(out);
  EXPECT_EQ(out, kHeader);
  out.clear();
  writer->AddDiagnostic(Diagnostic{Diagnostic::Kind::LiteralNotClosed, "a.c", 3, "\"open"}, out);
  writer->AddDiagnostic(Diagnostic{Diagnostic::Kind::CannotOpenFile, "b.c", 0, "denied"}, out);
  writer->End(ScanSummary{{{"ASCII", 1}}, 1, 1, 1, 0, 10, true, 0.1}, out);
  EXPECT_EQ(out, "");
}

// The output read back by Python's csv module, as a spreadsheet would:
// the mark is taken off, and every field comes back as it went in.
TEST(CsvWriter, ReadsBackWithPythonsCsvModule) {
  if (std::system("command -v python3 >/dev/null 2>&1") != 0) GTEST_SKIP() << "python3 is missing";
  const Finding findings[] = {
      {"\x82\xA0, \\\"q\\\"", 3, 9, "a b/x,y.c", SourceEncoding::ShiftJis, '"', {}},
      {"line\r\nend\"", 4, 1, "\x83\x5C.c", SourceEncoding::ShiftJis, '\'', {}},
      {"\xA4\xA2", 5, 12, "e.c", SourceEncoding::EucJp, '"', {}},
  };
  auto writer = MakeCsvWriter(ReportContext{"root", "/root", "0.5.0"});
  std::string out;
  writer->Begin(out);
  for (const auto& finding : findings) writer->AddFinding(finding, out);
  writer->End(ScanSummary{}, out);

  const testing::TempTree tree;
  tree.WriteFile("out.csv", out);
  tree.WriteFile("read.py", R"(import csv, sys
with open(sys.argv[1], newline="", encoding="utf-8-sig") as f:
    rows = list(csv.reader(f, strict=True))
for row in rows:
    print(" ".join(field.encode("utf-8").hex() for field in row))
)");
  ASSERT_EQ(std::system(("python3 " + tree.PathOf("read.py") + " " + tree.PathOf("out.csv") + " > " +
                         tree.PathOf("result.txt"))
                            .c_str()),
            0);
  const auto hexRow = [](std::initializer_list<std::string_view> fields) {
    std::string line;
    for (const auto field : fields) {
      if (!line.empty()) line += ' ';
      for (const char c : field) {
        static constexpr std::string_view kHex = "0123456789abcdef";
        line += kHex[static_cast<unsigned char>(c) >> 4];
        line += kHex[static_cast<unsigned char>(c) & 15];
      }
    }
    return line + "\n";
  };
  EXPECT_EQ(testing::ReadWholeFile(tree.PathOf("result.txt")),
            hexRow({"path", "line", "column", "text", "encoding"}) +
                hexRow({"root" + testing::kJoin + "a b/x,y.c", "3", "9", "\xE3\x81\x82, \\\"q\\\"", "SJIS-JP"}) +
                hexRow({"root" + testing::kJoin + "\xE3\x82\xBD.c", "4", "1", "line\r\nend\"", "SJIS-JP"}) +
                hexRow({"root" + testing::kJoin + "e.c", "5", "12", "\xE3\x81\x82", "EUC-JP"}));
}

}  // namespace
}  // namespace quillmark::report
