#include <gtest/gtest.h>

#include "engine/comment_closer.h"
#include "engine/euc_encoding.h"
#include "engine/sjis_encoding.h"
#include "tests/engine/scan_test_support.h"
#include "tests/support/shown_finding.h"

namespace quillmark::engine {
namespace {

using testing::Padded;
using testing::ScanSource;
using testing::Shown;
using testing::ShownFinding;
using Lines = std::vector<std::string>;
using namespace std::string_literals;

// Shift_JIS bytes of the characters the cases use.
#define SJ_A "\x82\xA0"   // あ
#define SJ_I "\x82\xA2"   // い
#define SJ_HYO "\x95\x5C" // 表, trail byte 0x5C
// EUC-JP bytes.
#define EU_A "\xA4\xA2"
#define EU_I "\xA4\xA4"
#define EU_JI "\xBB\xFA"  // 字

struct ScanCase {
  const char* name;
  std::string source;
  Lines trace;
  std::vector<ShownFinding> findings;
};

ShownFinding At(std::string text, int line) { return {Padded(std::move(text)), std::to_string(line), "f.c"}; }
std::string Reported(int line) { return ">> f.c : " + std::to_string(line); }
std::string Checked(std::string content) { return "checking string:" + content; }
std::string Unterminated(std::string rest) { return "Error: missing string terminator : " + rest; }

void ExpectScan(const std::vector<ScanCase>& cases, bool euc) {
  for (const ScanCase& c : cases) {
    const auto result = ScanSource(c.source, euc ? EucJpRules() : ShiftJisRules());
    EXPECT_EQ(testing::TraceText(result.trace), testing::TraceText(c.trace)) << c.name;
    EXPECT_EQ(Shown(result.findings), c.findings) << c.name;
  }
}

TEST(ScanLine, FollowsCommentsAndLiterals) {
  ExpectScan(
      {
          {"empty file", "", {}, {}},
          {"line comment and blank line", "// \"x\" only\n   \t\n", {}, {}},
          {"literal in a line comment", "x = \"abc\"; // \"" SJ_A "\"\n", {Checked("abc")}, {}},
          {"comment closed on its line",
           "/* \"" SJ_A "\" */ y = \"" SJ_I "\";\n",
           {Checked(SJ_I), Reported(1)},
           {At(SJ_I, 1)}},
          {"comment over three lines",
           "/* start\n \"" SJ_A "\" inside\n end */ z = \"" SJ_I "\";\n",
           {Checked(SJ_I), Reported(3)},
           {At(SJ_I, 3)}},
          {"slash star slash opens only",
           "/*/ \"" SJ_A "\"\n*/ \"" SJ_I "\"\n",
           {Checked(SJ_I), Reported(2)},
           {At(SJ_I, 2)}},
          {"comment openers inside literals",
           "a(\"a/*b\", \"a//b\", \"" SJ_A "\");\n",
           {Checked("a/*b"), Checked("a//b"), Checked(SJ_A), Reported(1)},
           {At(SJ_A, 1)}},
          {"comment opener at the end of a line", "x; /*\n\"" SJ_A "\"\n*/\n", {}, {}},
          {"stars and slashes in a comment do not nest", "/* /* // */ \"x\"\n", {Checked("x")}, {}},
          {"empty literal", "s = \"\";\n", {}, {}},
          {"char literal holding a double quote", "c = '\"';\n", {Checked("\"")}, {}},
          {"backslash hides a quote outside literals", "x(\\\"); y(\"abc\");\n", {Checked("abc")}, {}},
          {"escaped quotes kept in the text",
           "s = \"\\\"" SJ_A "\\\"\";\n",
           {Checked("\\\"" SJ_A "\\\""), Reported(1)},
           {At("\\\"" SJ_A "\\\"", 1)}},
          {"char literal", "c = '" SJ_A "';\n", {Checked(SJ_A), Reported(1)}, {At(SJ_A, 1)}},
          {"wide literal", "w = L\"" SJ_A "\";\n", {Checked(SJ_A), Reported(1)}, {At(SJ_A, 1)}},
          {"two literals on one line",
           "f(\"" SJ_A "\", \"" SJ_I "\");\n",
           {Checked(SJ_A), Reported(1), Checked(SJ_I), Reported(1)},
           {At(SJ_A, 1), At(SJ_I, 1)}},
          {"long content is neither padded nor cut",
           "s = \"0123456789012345678901" SJ_A "\";\n",
           {Checked("0123456789012345678901" SJ_A), Reported(1)},
           {ShownFinding{"0123456789012345678901" SJ_A, "1", "f.c"}}},
          {"3-byte content padded to 20", "s = \"a" SJ_A "\";\n", {Checked("a" SJ_A), Reported(1)},
           {ShownFinding{"a" SJ_A "                 ", "1", "f.c"}}},
      },
      false);
}

TEST(ScanLine, EndsTheFileAtAnUnterminatedLiteral) {
  ExpectScan(
      {
          {"backslash continuation",
           "s = \"" SJ_A "\\\n\"" SJ_I "\";\n",
           {Unterminated("s = \"" SJ_A "\\\n")},
           {}},
          {"apostrophe in a directive", "#error don't \"" SJ_A "\"\n\"x\"\n",
           {Unterminated("#error don't \"" SJ_A "\"\n")}, {}},
          {"rest quoted from behind the last literal", "f(\"a\", 'b);\n",
           {Checked("a"), Unterminated(", 'b);\n")}, {}},
          {"rest quoted from behind a closed comment", "/* c */ \"x\n", {Unterminated(" \"x\n")}, {}},
          {"lead byte swallows the closing quote", "s = \"\x82\";\n", {Unterminated("s = \"\x82\";\n")}, {}},
          {"CR LF arrives as LF", "\"abc\r\n\"x\"\r\n", {Unterminated("\"abc\n")}, {}},
          {"quote as the last byte of a file", "x = '", {Unterminated("x = '")}, {}},
      },
      false);
}

TEST(ScanLine, ShiftJisByteClasses) {
  ExpectScan(
      {
          {"trail byte 0x5C is no backslash", "s = \"" SJ_HYO "\"; t = \"x\";\n",
           {Checked(SJ_HYO), Reported(1), Checked("x")}, {At(SJ_HYO, 1)}},
          {"half-width katakana", "s = \"\xB1\";\n", {Checked("\xB1"), Reported(1)}, {At("\xB1", 1)}},
          {"0xA0 is Japanese", "s = \"\xA0\";\n", {Checked("\xA0"), Reported(1)}, {At("\xA0", 1)}},
          {"0xF0-0xF9 and 0x80 are not", "s = \"\xF0\xF9\x80\";\n", {Checked("\xF0\xF9\x80")}, {}},
          {"a double quote in the content hides Japanese", "c = '" SJ_A "\"';\n", {Checked(SJ_A "\"")}, {}},
          {"lead byte ending the last line", "x = 1; \x82", {}, {}},
      },
      false);
}

TEST(ScanLine, EucJpByteClassesAndDisplayText) {
  ExpectScan(
      {
          {"converted to Shift_JIS after padding", "s = \"" EU_A "\";\n", {Checked(EU_A), Reported(1)},
           {At(SJ_A, 1)}},
          {"half-width katakana keeps 18 spaces", "s = \"\x8E\xB1\";\n", {Checked("\x8E\xB1"), Reported(1)},
           {ShownFinding{"\xB1" + std::string(18, ' '), "1", "f.c"}}},
          {"0x8F with ASCII is not Japanese", "s = \"\x8F" "ab\";\n", {Checked("\x8F" "ab")}, {}},
          // 0xFA opens a Shift_JIS character that takes the asterisk, so the
          // first closer is not seen.
          {"closer hidden behind a character", "/* " EU_JI "*/ \"" EU_A "\" */ \"" EU_I "\"\n",
           {Checked(EU_I), Reported(1)}, {At(SJ_I, 1)}},
      },
      true);
}

TEST(ScanLine, LineNumbersMatchTheFile) {
  const std::string longComment = "/* " + std::string(12000, 'x') + " */ \"" SJ_A "\"\n";
  const auto result = ScanSource(longComment + "\"" SJ_I "\"\n", ShiftJisRules());
  EXPECT_EQ(Shown(result.findings), (std::vector<ShownFinding>{At(SJ_A, 1), At(SJ_I, 2)}));

  const std::string longLiteral = "\"" SJ_A + std::string(20000, 'y') + "\"\n";
  const auto whole = ScanSource(longLiteral + "\n\"" SJ_I "\"\n", ShiftJisRules());
  ASSERT_EQ(whole.findings.size(), 2u);
  EXPECT_EQ(whole.findings[0].content.size(), 20002u);
  EXPECT_EQ(whole.findings[1].line, 3);
  EXPECT_EQ(whole.trace.front().size(), 16u + 20002u);  // the trace line is whole
}

TEST(ScanLine, StopsAtNulAndAt1A) {
  ExpectScan(
      {
          {"NUL ends the scanned line", "\"abc\" \0 \"" SJ_A "\"\n\"" SJ_I "\"\n"s,
           {Checked("abc"), Checked(SJ_I), Reported(2)}, {At(SJ_I, 2)}},
          {"0x1A ends the file", "\"" SJ_A "\"\n\x1A\"" SJ_I "\"\n", {Checked(SJ_A), Reported(1)}, {At(SJ_A, 1)}},
      },
      false);
}

}  // namespace
}  // namespace quillmark::engine

namespace quillmark::engine {
namespace {

// The closer search by stepping through characters one by one.
std::size_t FindCloserByStepping(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<std::uint8_t>(text[i]);
    if (b == '*' && i + 1 < text.size() && text[i + 1] == '/') return i;
    i += ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) ? 2 : 1;
  }
  return std::string_view::npos;
}

TEST(FindCommentCloser, FindsOnlyClosersThatStartACharacter) {
  EXPECT_EQ(FindCommentCloser("abc */ x"), 4u);
  EXPECT_EQ(FindCommentCloser("*/"), 0u);
  EXPECT_EQ(FindCommentCloser("* / *"), std::string_view::npos);
  EXPECT_EQ(FindCommentCloser("\xFA*/ */"), 4u);          // 0xFA takes the first asterisk
  EXPECT_EQ(FindCommentCloser("\x81\x81*/"), 2u);         // a pair, then the closer
  EXPECT_EQ(FindCommentCloser("\x81\x81\x81*/*/"), 5u);   // odd run: the first is hidden
  EXPECT_EQ(FindCommentCloser("\xBB\xFA*/"), std::string_view::npos);  // EUC-JP 字 before it

  // Agrees with stepping on every string over a small alphabet.
  const char alphabet[] = {'*', '/', 'a', '\x81', '\xFA', '\xA0'};
  for (int length = 1; length <= 7; ++length) {
    int total = 1;
    for (int i = 0; i < length; ++i) total *= 6;
    for (int code = 0; code < total; ++code) {
      std::string text;
      for (int i = 0, c = code; i < length; ++i, c /= 6) text += alphabet[c % 6];
      ASSERT_EQ(FindCommentCloser(text), FindCloserByStepping(text)) << text;
    }
  }
}

}  // namespace
}  // namespace quillmark::engine
