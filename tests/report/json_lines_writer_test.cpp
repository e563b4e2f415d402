#include "report/json_lines_writer.h"

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

std::string FindingLine(const Finding& finding, const std::string& root = "root") {
  std::string out;
  MakeJsonLinesWriter(ReportContext{root, "/abs/root", "0.5.0"})->AddFinding(finding, out);
  return out;
}

std::string DiagnosticLine(const Diagnostic& diagnostic) {
  std::string out;
  MakeJsonLinesWriter(ReportContext{"root", "/abs/root", "0.5.0"})->AddDiagnostic(diagnostic, out);
  return out;
}

std::string Hex(std::string_view bytes) {
  static constexpr std::string_view kHex = "0123456789abcdef";
  std::string out;
  for (const char c : bytes) {
    out += kHex[static_cast<unsigned char>(c) >> 4];
    out += kHex[static_cast<unsigned char>(c) & 15];
  }
  return out;
}

TEST(Base64, EncodesTheStandardVectorsWithPadding) {
  const struct {
    std::string bytes;
    std::string base64;
  } cases[] = {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="},
      {"fooba", "Zm9vYmE="},
      {"foobar", "Zm9vYmFy"},
      {std::string("\0", 1), "AA=="},
      {"\xFB\xFF\xBF", "+/+/"},
      {"\x82", "gg=="},
  };
  for (const auto& c : cases) EXPECT_EQ(Base64(c.bytes), c.base64) << Hex(c.bytes);
}

TEST(JsonString, EscapesQuotesBackslashesAndControlCharactersOnly) {
  const struct {
    std::string utf8;
    std::string json;
  } cases[] = {
      {"", R"("")"},
      {"plain text", R"("plain text")"},
      {R"(say "hi")", R"("say \"hi\"")"},
      {R"(C:\dir)", R"("C:\\dir")"},
      {"a\nb\rc\td", R"("a\u000Ab\u000Dc\u0009d")"},
      {std::string("\0\x1F", 2), R"("\u0000\u001F")"},
      {"\x7F/<>'", "\"\x7F/<>'\""},
      {"\xE3\x81\x82\xE2\x80\xA8", "\"\xE3\x81\x82\xE2\x80\xA8\""},  // あ, U+2028
  };
  for (const auto& c : cases) {
    std::string out = "x";
    AppendJsonString(c.utf8, out);
    EXPECT_EQ(out, "x" + c.json) << Hex(c.utf8);
  }
}

TEST(JsonLinesWriter, GivesTextAsAStringOnlyWhenItsBytesComeBack) {
  const struct {
    SourceEncoding encoding;
    std::string content;
    std::string text;  // as the line carries it
  } cases[] = {
      {SourceEncoding::ShiftJis, "\x82\xA0 \"q\"", "\"\xE3\x81\x82 \\\"q\\\"\""},
      {SourceEncoding::ShiftJis, "\x95\x5C\\n", "\"\xE8\xA1\xA8\\\\n\""},  // 表 and its 5C trail
      {SourceEncoding::ShiftJis, "\t", R"("\u0009")"},
      {SourceEncoding::ShiftJis, "\xA0", "\"\xEF\xA3\xB0\""},  // Windows' U+F8F0, mapped back
      {SourceEncoding::ShiftJis, "\x82", R"({"bytes":"gg=="})"},               // lone lead byte
      {SourceEncoding::ShiftJis, "\xED\x40", R"({"bytes":"7UA="})"},           // re-encodes as FA5C
      {SourceEncoding::ShiftJis, "\x87\x90", R"({"bytes":"h5A="})"},           // re-encodes as 81E0
      {SourceEncoding::EucJp, "\xA4\xA2\x8E\xB1", "\"\xE3\x81\x82\xEF\xBD\xB1\""},  // あ, half-width ア
      {SourceEncoding::EucJp, "\x8E\x41", R"({"bytes":"jkE="})"},              // 8E before ASCII
      {SourceEncoding::EucJp, "\x8F\xB0\xA1", R"({"bytes":"j7Ch"})"},          // JIS X 0212
      {SourceEncoding::EucJp, "\xA4", R"({"bytes":"pA=="})"},
      {SourceEncoding::Utf8, "\xE3\x81\x82\\", "\"\xE3\x81\x82\\\\\""},
      {SourceEncoding::Utf8, "\xE3\x81", R"({"bytes":"44E="})"},
      {SourceEncoding::Utf8, "\xC0\xAF", R"({"bytes":"wK8="})"},  // overlong
  };
  for (const auto& c : cases) {
    const std::string encoding(EncodingName(c.encoding));
    EXPECT_EQ(FindingLine(Finding{c.content, 12, 7, "src/a.c", c.encoding, '"', {}}),
              R"({"type":"finding","path":"root)" + testing::kJsonJoin + R"(src/a.c","line":12,"column":7,"text":)" + c.text +
                  R"(,"encoding":")" + encoding + R"(","kind":"string"})" "\n")
        << Hex(c.content);
  }
}

TEST(JsonLinesWriter, GivesAPathThatIsNoUtf8AsBytesAndACharacterLiteralItsKind) {
  EXPECT_EQ(FindingLine(Finding{"\x82\xA0", 1, 2, "\x83\x5C.c", SourceEncoding::ShiftJis, '\'', {}}, "top/"),
            "{\"type\":\"finding\",\"path\":{\"bytes\":\"" + Base64("top/\x83\x5C.c") +
                "\"},\"line\":1,\"column\":2,\"text\":\"\xE3\x81\x82\",\"encoding\":\"SJIS-JP\","
                "\"kind\":\"character\"}\n");
  EXPECT_EQ(FindingLine(Finding{"x", 1, 1, "d\"q/a.c", SourceEncoding::Utf8, '"', {}}, "/"),
            R"({"type":"finding","path":"/d\"q/a.c","line":1,"column":1,"text":"x","encoding":"UTF-8","kind":"string"})"
            "\n");
}

TEST(JsonLinesWriter, GivesTheCLexersPrefixAndRawMarkAfterTheKind) {
  const struct {
    Finding finding;
    std::string tail;  // from the kind on
  } cases[] = {
      {{"x", 1, 1, "a.c", SourceEncoding::Utf8, '\'', "", false}, R"("kind":"character","prefix":"","raw":false})"},
      {{"a\nb", 1, 1, "a.c", SourceEncoding::Utf8, '"', "u8", true}, R"("kind":"string","prefix":"u8","raw":true})"},
  };
  for (const auto& c : cases) {
    std::string out;
    MakeJsonLinesWriter(ReportContext{"root", "/abs/root", "0.5.0", engine::Lexer::C})->AddFinding(c.finding, out);
    EXPECT_TRUE(out.ends_with(c.tail + "\n")) << out;
  }
}

TEST(JsonLinesWriter, WritesEachDiagnosticWithALineOnlyForALiteralLeftOpen) {
  using Kind = Diagnostic::Kind;
  const struct {
    Diagnostic diagnostic;
    std::string line;
  } cases[] = {
      {{Kind::CannotOpenFile, "a.c", 0, "Permission denied"},
       R"({"type":"diagnostic","kind":"cannot_open","path":"root)" + testing::kJsonJoin + R"(a.c","text":"Permission denied"})"},
      {{Kind::CannotListFolder, "", 0, "No such file or directory"},
       R"({"type":"diagnostic","kind":"cannot_list_folder","path":"root","text":"No such file or directory"})"},
      {{Kind::CannotListFolder, "sub", 0, "\xFF"},
       R"({"type":"diagnostic","kind":"cannot_list_folder","path":"root)" + testing::kJsonJoin + R"(sub","text":{"bytes":"/w=="}})"},
      {{Kind::LiteralNotClosed, "b.c", 9, "\"\x82\xA0\tend"},
       "{\"type\":\"diagnostic\",\"kind\":\"literal_not_closed\",\"path\":\"root" + testing::kJsonJoin + "b.c\",\"line\":9,"
       "\"text\":\"\\\"\xE3\x81\x82\\u0009end\"}"},
      {{Kind::LiteralNotClosed, "u.c", 3, "\"\xE3\x81\x82"},
       "{\"type\":\"diagnostic\",\"kind\":\"literal_not_closed\",\"path\":\"root" + testing::kJsonJoin + "u.c\",\"line\":3,"
       "\"text\":\"\\\"\xE3\x81\x82\"}"},
      {{Kind::LiteralNotClosed, "c.c", 1, "\"\x82"},
       R"({"type":"diagnostic","kind":"literal_not_closed","path":"root)" + testing::kJsonJoin + R"(c.c","line":1,"text":{"bytes":"IoI="}})"},
  };
  for (const auto& c : cases) EXPECT_EQ(DiagnosticLine(c.diagnostic), c.line + "\n") << c.line;
}

TEST(JsonLinesWriter, StreamsOneLinePerCallAndEndsWithTheSummary) {
  auto writer = MakeJsonLinesWriter(ReportContext{"r", "/r", "0.5.0"});
  std::string out;
  writer->Begin(out);
  EXPECT_EQ(out, "");
  writer->AddFinding(Finding{"x", 1, 1, "a.c", SourceEncoding::Utf8, '"', {}}, out);
  const std::size_t afterFinding = out.size();
  EXPECT_EQ(out.back(), '\n');
  writer->AddDiagnostic(Diagnostic{Diagnostic::Kind::CannotOpenFile, "b.c", 0, "gone"}, out);
  EXPECT_EQ(out.find('\n'), afterFinding - 1);
  out.clear();
  ScanSummary summary;
  summary.filesByEncoding = {{"SJIS-JP", 3}, {"ASCII", 10}, {"UTF-8", 1}};
  summary.folders = 4;
  summary.files = 14;
  summary.filesEndedEarly = 2;
  summary.findings = 25;
  summary.bytes = 123456789012;
  summary.completed = false;
  summary.seconds = 1.23456;
  writer->End(summary, out);
  EXPECT_EQ(out,
            R"({"type":"summary","files":{"SJIS-JP":3,"ASCII":10,"UTF-8":1},"folders":4,"files_scanned":14,)"
            R"("files_ended_early":2,"findings":25,"bytes":123456789012,"completed":false,"elapsed_seconds":1.235})"
            "\n");

  out.clear();
  writer->End(ScanSummary{{}, 0, 0, 0, 0, 0, true, 0.0004}, out);
  EXPECT_EQ(out,
            R"({"type":"summary","files":{},"folders":0,"files_scanned":0,"files_ended_early":0,"findings":0,)"
            R"("bytes":0,"completed":true,"elapsed_seconds":0.000})"
            "\n");
}

// The output read back by Python's json module: every line an object, and
// each path and text, base64 or not, gives back the expected bytes.
TEST(JsonLinesWriter, ReadsBackWithPythonsJsonModule) {
  if (std::system("command -v python3 >/dev/null 2>&1") != 0) GTEST_SKIP() << "python3 is missing";
  const Finding findings[] = {
      {"\x82\xA0\"\\\x01", 3, 9, "a b/\xE3\x81\x82.c", SourceEncoding::ShiftJis, '"', {}},
      {"\x87\x90", 4, 1, "\x83\x5C.c", SourceEncoding::ShiftJis, '\'', {}},
      {"\xA4\xA2\xE2\x80\xA8", 5, 2, "e.c", SourceEncoding::EucJp, '"', {}},
      {"\xE3\x81\x82\xFF", 6, 3, "u.c", SourceEncoding::Utf8, '"', {}},
  };
  auto writer = MakeJsonLinesWriter(ReportContext{"root", "/root", "0.5.0"});
  std::string out;
  writer->Begin(out);
  for (const auto& finding : findings) writer->AddFinding(finding, out);
  writer->AddDiagnostic(Diagnostic{Diagnostic::Kind::LiteralNotClosed, "l.c", 7, "\"\x82\xA0"}, out);
  writer->End(ScanSummary{{{"SJIS-JP", 2}, {"ASCII", 1}}, 1, 3, 1, 4, 99, true, 0.5}, out);

  const testing::TempTree tree;
  tree.WriteFile("out.jsonl", out);
  tree.WriteFile("read.py", R"(import base64, json, sys
def raw(v):
    if isinstance(v, dict):
        assert list(v) == ["bytes"], v
        return base64.b64decode(v["bytes"], validate=True)
    return v.encode("utf-8")
data = open(sys.argv[1], "rb").read()
assert data.endswith(b"\n")
for line in data.decode("utf-8").split("\n")[:-1]:
    o = json.loads(line)
    if o["type"] == "finding":
        print(raw(o["path"]).hex(), o["line"], o["column"], raw(o["text"]).hex(), o["encoding"], o["kind"])
    elif o["type"] == "diagnostic":
        print(o["kind"], raw(o["path"]).hex(), o["line"], raw(o["text"]).hex())
    else:
        print(json.dumps(o, sort_keys=True))
)");
  ASSERT_EQ(std::system(("python3 " + tree.PathOf("read.py") + " " + tree.PathOf("out.jsonl") + " > " +
                         tree.PathOf("result.txt"))
                            .c_str()),
            0);
  EXPECT_EQ(testing::ReadWholeFile(tree.PathOf("result.txt")),
            Hex("root" + testing::kJoin + "a b/\xE3\x81\x82.c") + " 3 9 " + Hex("\xE3\x81\x82\"\\\x01") + " SJIS-JP string\n" +
                Hex("root" + testing::kJoin + "\x83\x5C.c") + " 4 1 " + Hex("\x87\x90") + " SJIS-JP character\n" +  //
                Hex("root" + testing::kJoin + "e.c") + " 5 2 " + Hex("\xA4\xA2\xE2\x80\xA8") + " EUC-JP string\n" +  // E2 80: no EUC pair
                Hex("root/u.c") + " 6 3 " + Hex("\xE3\x81\x82\xFF") + " UTF-8 string\n" +
                "literal_not_closed " + Hex("root/l.c") + " 7 " + Hex("\"\xE3\x81\x82") + "\n" +
                R"({"bytes": 99, "completed": true, "elapsed_seconds": 0.5, "files": {"ASCII": 1, "SJIS-JP": 2}, )"
                R"("files_ended_early": 1, "files_scanned": 3, "findings": 4, "folders": 1, "type": "summary"})"
                "\n");
}

}  // namespace
}  // namespace quillmark::report
