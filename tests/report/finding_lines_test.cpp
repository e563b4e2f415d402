#include "report/finding_lines.h"

#include <gtest/gtest.h>

#include <string>

#include "report/finding_text.h"
#include "tests/support/slashed.h"

namespace quillmark::report {
namespace {

using engine::Finding;
using engine::SourceEncoding;

TEST(AppendGrepLine, WritesPathLineColumnAndTrimmedTextAsStyled) {
  const Finding sjis{"\x82\xA0 ", 12, 7, "sub/a.c", SourceEncoding::ShiftJis, '"', {}};
  const Finding euc{"\xA4\xA2", 3, 1, "b.c", SourceEncoding::EucJp, '\'', {}};
  const struct {
    Finding finding;
    GrepLineStyle style;
    std::string line;
  } cases[] = {
      {sjis, {"src"}, "src/sub/a.c:12: \xE3\x81\x82"},
      {sjis, {"src/"}, "src/sub/a.c:12: \xE3\x81\x82"},
      {sjis, {"src", false, true}, "src/sub/a.c:12:7: \xE3\x81\x82"},
      {sjis, {"one.c", true}, "one.c:12: \xE3\x81\x82"},
      {euc, {"r", false, true, true},
       "\x1b[35mr/b.c\x1b[0m:\x1b[32m3\x1b[0m:\x1b[32m1\x1b[0m: \xE3\x81\x82"},
  };
  for (const auto& c : cases) {
    std::string out = ">";
    AppendGrepLine(c.finding, c.style, out);
    EXPECT_EQ(out, ">" + c.line);
  }
}

TEST(AppendRawLine, WritesTheRecordedTextLineAndRelativePath) {
  std::string out;
  AppendRawLine({"\xA4\xA2", 40, 2, "d/e.c", SourceEncoding::EucJp, '"', {}}, out);
  EXPECT_EQ(out, "\x82\xA0" + std::string(18, ' ') + "\t40\td/e.c");
}

// A raw string's line breaks show as \n wherever its text is one line
// (padded after them); the data forms' text keeps them.
TEST(FindingLines, ShowALineBreakAsBackslashN) {
  const struct {
    Finding finding;
    std::string text;      // in UTF-8, as the grep line ends
    std::string recorded;  // in Shift_JIS, before its padding
  } cases[] = {
      {{"\x82\xA0\nb\n", 4, 1, "a.c", SourceEncoding::ShiftJis, '"', "", true}, "\xE3\x81\x82\\nb\\n", "\x82\xA0\\nb\\n"},
      {{"\xA4\xA2\n ", 5, 1, "e.c", SourceEncoding::EucJp, '"', "", true}, "\xE3\x81\x82\\n", "\x82\xA0\\n "},
  };
  for (const auto& c : cases) {
    const std::string line = std::to_string(c.finding.line);
    const std::string padding(20 - c.recorded.size(), ' ');
    std::string grep, raw;
    AppendGrepLine(c.finding, {"r"}, grep);
    AppendRawLine(c.finding, raw);
    EXPECT_EQ(grep, "r" + testing::kJoin + c.finding.path + ":" + line + ": " + c.text);
    EXPECT_EQ(raw, c.recorded + padding + "\t" + line + "\t" + c.finding.path);
    EXPECT_EQ(DisplayText(c.finding).substr(0, c.text.size()), c.text) << "the list's row";
    EXPECT_NE(ContentText(c.finding).find('\n'), std::string::npos);
  }
}

}  // namespace
}  // namespace quillmark::report
