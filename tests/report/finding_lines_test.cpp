#include "report/finding_lines.h"

#include <gtest/gtest.h>

#include <string>

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

}  // namespace
}  // namespace quillmark::report
