#include "report/po_writer.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "report/c_escapes.h"
#include "tests/support/run_command.h"
#include "tests/support/temp_tree.h"

namespace quillmark::report {
namespace {

using engine::Finding;
using engine::SourceEncoding;

constexpr auto kSjis = SourceEncoding::ShiftJis;
constexpr auto kEuc = SourceEncoding::EucJp;
constexpr auto kUtf8 = SourceEncoding::Utf8;

using testing::CommandResult;
using testing::RunCommand;

std::string WriteTemplate(const std::vector<Finding>& findings, std::string root = "root") {
  auto writer = MakePoWriter(ReportContext{std::move(root), "/abs/root", "0.5.0"});
  std::string out;
  writer->Begin(out);
  for (const Finding& finding : findings) writer->AddFinding(finding, out);
  EXPECT_EQ(out, "") << "the template is written at End only";
  writer->End(ScanSummary{}, out);
  return out;
}

Finding StringLiteral(std::string content, SourceEncoding encoding, std::string path = "a.c", std::int64_t line = 1) {
  return Finding{std::move(content), line, 1, std::move(path), encoding, '"', {}};
}

constexpr std::string_view kA = "\xE3\x81\x82";    // あ
constexpr std::string_view kHyo = "\xE8\xA1\xA8";  // 表, 95 5C in Shift_JIS

TEST(ReadCEscapes, ReadsEachEscapeCharacterByCharacterOfTheEncoding) {
  const std::string a(kA), hyo(kHyo);
  const struct {
    SourceEncoding encoding;
    std::string content;
    std::optional<std::string> text;
  } cases[] = {
      {kSjis, "plain", "plain"},
      {kSjis, R"(\n\t\r\a\b\f\v\\\"\'\?)", "\n\t\r\a\b\f\v\\\"'?"},
      {kSjis, R"(\101\60\0101\1234)", "A0\b1S4"},
      {kSjis, R"(\x41\x4a\x0041)", "AJA"},
      {kSjis, R"(\q\8\%)", "q8%"},
      // The escapes' bytes are the file's: two of them make あ.
      {kSjis, R"(\x82\xa0)", a},
      {kSjis, R"(\202\240)", a},
      // 0x5C as a trail byte is no backslash: not before the end, not before n.
      {kSjis, "\x95\x5C", hyo},
      {kSjis, "\x95\x5Cn", hyo + "n"},
      {kSjis, "\x95\x5C\\n", hyo + "\n"},
      // An escaped double-byte character stands for itself, trail and all.
      {kSjis, "\\\x95\x5C", hyo},
      {kSjis, "\xB1", "\xEF\xBD\xB1"},
      {kSjis, R"(\u3042\U0001F600)", a + "\xF0\x9F\x98\x80"},
      {kSjis, "\x82\xA0\\u3042\x95\x5C", a + a + hyo},
      {kEuc, "\xA4\xA2\\n\xC9\xBD", a + "\n" + hyo},
      {kEuc, R"(\xa4\xa2)", a},
      {kEuc, "\x8E\xB1", "\xEF\xBD\xB1"},
      {kUtf8, "\xE8\xA1\xA8\\t\\\\", hyo + "\t\\"},
      {kUtf8, R"(\xe3\x81\x82\343\201\202)", a + a},
      // What UTF-8 cannot carry.
      {kSjis, R"(\xff)", std::nullopt},
      {kSjis, R"(\x82)", std::nullopt},
      {kSjis, "\x82", std::nullopt},
      {kSjis, R"(\x100)", std::nullopt},
      {kSjis, R"(\400)", std::nullopt},
      {kSjis, R"(a\0)", std::nullopt},
      {kSjis, R"(\x00)", std::nullopt},
      {kSjis, R"(\x)", std::nullopt},
      {kSjis, R"(\xg)", std::nullopt},
      {kSjis, R"(\u30)", std::nullopt},
      {kSjis, R"(\uD800)", std::nullopt},
      {kSjis, R"(\U00110000)", std::nullopt},
      {kSjis, "a\\", std::nullopt},
      {kEuc, R"(\xa4)", std::nullopt},
      {kEuc, "\x8F\xA2\xAF", std::nullopt},
      {kUtf8, R"(\xff)", std::nullopt},
      {kUtf8, R"(\xe3\x81)", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadCEscapes(c.content, c.encoding).utf8, c.text) << c.content;
}

TEST(ReadCEscapes, SaysWhyATextCannotBeGiven) {
  const struct {
    std::string content;
    std::string_view why;
  } cases[] = {
      {R"(\0)", "a NUL character"},
      {R"(\xff)", "a byte that is no character"},
      {R"(\x1ff)", "an escape beyond a byte or a code point"},
      {R"(\x)", "an escape missing its digits"},
      {"\\", "a backslash escaping nothing"},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadCEscapes(c.content, kSjis).unreadable, c.why) << c.content;
  EXPECT_EQ(ReadCEscapes("ok", kSjis).unreadable, "");
}

TEST(HasPrintfConversion, FindsAConversionAndNoPercentSignAlone) {
  const struct {
    std::string text;
    bool conversion;
  } cases[] = {
      {"%d", true},
      {"\xE4\xBB\xB6\xE6\x95\xB0: %5.2f", true},
      {"%1$-*2$.*3$lld", true},
      {"%#08lx %hhu %zu %jd %Lg %p %n %c %s %a %E %G %i %o %X", true},
      {"100%% %%s", false},
      {"%%%d", true},
      {"50% \xE3\x82\xAA\xE3\x83\x95", false},
      {"% d", true},
      {"%", false},
      {"%y %k %ll", false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(HasPrintfConversion(c.text), c.conversion) << c.text;
}

constexpr std::string_view kHeaderFields =
    "#, fuzzy\n"
    "msgid \"\"\n"
    "msgstr \"\"\n"
    "\"Project-Id-Version: PACKAGE VERSION\\n\"\n"
    "\"Report-Msgid-Bugs-To: \\n\"\n"
    "\"PO-Revision-Date: YEAR-MO-DA HO:MI+ZONE\\n\"\n"
    "\"Last-Translator: FULL NAME <EMAIL@ADDRESS>\\n\"\n"
    "\"Language-Team: LANGUAGE <LL@li.org>\\n\"\n"
    "\"Language: \\n\"\n"
    "\"MIME-Version: 1.0\\n\"\n"
    "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
    "\"Content-Transfer-Encoding: 8bit\\n\"\n"
    "\"X-Generator: Quillmark 0.5.0\\n\"\n";

TEST(PoWriter, WritesOneEntryPerTextWithEveryPlaceAndCountsCharacterLiterals) {
  const std::string template_ = WriteTemplate({
      StringLiteral("\x95\x5C\x8E\xA6%d\\n", kSjis, "src/a b.c", 3),
      Finding{"\x82\xA0", 4, 1, "src/a b.c", kSjis, '\'', {}},
      StringLiteral("\xE3\x81\x82\\xff", kUtf8, "u.c", 2),
      StringLiteral("\xC9\xBD\xBC\xA8%d\\n", kEuc, "e.c", 5),
      StringLiteral("\xE4\xB8\x80\\n\xE4\xBA\x8C\\t\"\\\\", kUtf8, "u.c", 7),
      StringLiteral("\\\"\xE5\xBC\x95\\\"%%", kUtf8, "u.c", 8),
      Finding{"\xE3\x81\x84", 9, 1, "u.c", kUtf8, '\'', {}},
  });
  EXPECT_EQ(template_,
            "# Japanese string literals found under root by Quillmark 0.5.0.\n"
            "# Character literals left out: 2.\n" +
                std::string(kHeaderFields) +
                "\n"
                "#: \xE2\x81\xA8root/src/a b.c\xE2\x81\xA9:3\n"
                "#: root/e.c:5\n"
                "#, c-format\n"
                "msgid \"\xE8\xA1\xA8\xE7\xA4\xBA%d\\n\"\n"
                "msgstr \"\"\n"
                "\n"
                "#. The C escapes are kept as written: the text holds a byte that is no character.\n"
                "#: root/u.c:2\n"
                "msgid \"\xE3\x81\x82\\\\xff\"\n"
                "msgstr \"\"\n"
                "\n"
                "#: root/u.c:7\n"
                "msgid \"\"\n"
                "\"\xE4\xB8\x80\\n\"\n"
                "\"\xE4\xBA\x8C\\t\\\"\\\\\"\n"
                "msgstr \"\"\n"
                "\n"
                "#: root/u.c:8\n"
                "msgid \"\\\"\xE5\xBC\x95\\\"%%\"\n"
                "msgstr \"\"\n");
}

// A raw string reads no escape: its backslash, quote and line break are
// the text's own, the same text as the ordinary literal that spells them.
TEST(PoWriter, ReadsNoEscapeInARawString) {
  Finding raw = StringLiteral("\x82\xA0\\n\"q\"\nend", kSjis, "r.c", 2);
  raw.raw = true;
  const std::string template_ = WriteTemplate({raw, StringLiteral("\x82\xA0\\\\n\\\"q\\\"\\nend", kSjis, "s.c", 3)});
  EXPECT_TRUE(template_.ends_with("\n#: root/r.c:2\n#: root/s.c:3\nmsgid \"\"\n\"\xE3\x81\x82\\\\n\\\"q\\\"\\n\"\n\"end\"\n"
                                  "msgstr \"\"\n"))
      << template_;
}

TEST(PoWriter, KeepsEveryFileAndMessageLineWhole) {
  const std::string template_ = WriteTemplate(
      {StringLiteral("\xE3\x81\x82\x01\x7F", kUtf8, "new\nline.c"), StringLiteral("\xE3\x81\x82\xFF", kUtf8, "\x83\x5C.c")},
      "r\nt");
  EXPECT_NE(template_.find("under r\xEF\xBF\xBDt by"), std::string::npos);
  EXPECT_NE(template_.find("#: r\xEF\xBF\xBDt/new\xEF\xBF\xBDline.c:1\nmsgid \"\xE3\x81\x82\\001\\177\"\n"),
            std::string::npos);
  // A Shift_JIS file name reads as CP932; a byte no UTF-8 is replaced.
  EXPECT_NE(template_.find("#: r\xEF\xBF\xBDt/\xE3\x82\xBD.c:1\nmsgid \"\xE3\x81\x82\xEF\xBF\xBD\"\n"),
            std::string::npos);
}

TEST(PoWriter, WritesAHeaderAloneWhenNothingWasFound) {
  EXPECT_EQ(WriteTemplate({Finding{"\x82\xA0", 1, 1, "a.c", kSjis, '\'', {}}}),
            "# Japanese string literals found under root by Quillmark 0.5.0.\n"
            "# Character literals left out: 1.\n" +
                std::string(kHeaderFields));
}

// gettext's own programs read the template: msgfmt checks it, msginit and
// msgmerge make and update a catalog from it, and the texts they read back
// are the literals' texts.
TEST(PoWriterGettext, MsgfmtMsginitAndMsgmergeReadTheTemplate) {
  testing::TempTree tree;
  const struct {
    Finding finding;
    std::string text;  // as gettext reads the msgid back
  } cases[] = {
      {StringLiteral("\x95\x5C\x8E\xA6%d\\n", kSjis, "my dir/s.c", 1), "\xE8\xA1\xA8\xE7\xA4\xBA%d\n"},
      {StringLiteral("\xC9\xBD\\t\\\"\\\\\\101", kEuc, "e.c", 2), "\xE8\xA1\xA8\t\"\\A"},
      {StringLiteral("\xE6\x97\xA5\\r\\a\\b\\f\\v\\?\\'", kUtf8, "\xE6\x97\xA5 \xE6\x9C\xAC.c", 3),
       "\xE6\x97\xA5\r\a\b\f\v?'"},
      {StringLiteral("\xE4\xB8\x80\\n\xE4\xBA\x8C\\n", kUtf8, "u.c", 4), "\xE4\xB8\x80\n\xE4\xBA\x8C\n"},
      {StringLiteral("\xE3\x81\x82\\xff\\0", kUtf8, "u.c", 5), "\xE3\x81\x82\\xff\\0"},
      {StringLiteral("\x82\xA0\\x", kSjis, "s.c", 6), "\xE3\x81\x82\\x"},
      {StringLiteral("\x82\xA0\x01%%", kSjis, "s.c", 7), "\xE3\x81\x82\x01%%"},
  };
  std::vector<Finding> findings;
  std::string expected;
  for (const auto& c : cases) {
    findings.push_back(c.finding);
    expected += c.text + '\0';
  }
  tree.WriteFile("t.pot", WriteTemplate(findings));
  testing::ScopedCurrentDirectory inTree(tree.Root());

  const CommandResult check = RunCommand("msgfmt --check -o /dev/null t.pot");
  EXPECT_EQ(check.status, 0) << check.output;
  const CommandResult init = RunCommand("msginit --no-translator -i t.pot -l ja -o ja.po");
  ASSERT_EQ(init.status, 0) << init.output;
  const CommandResult merge = RunCommand("msgmerge -q -o merged.po ja.po t.pot");
  EXPECT_EQ(merge.status, 0) << merge.output;
  const CommandResult checkMerged = RunCommand("msgfmt --check -o /dev/null merged.po");
  EXPECT_EQ(checkMerged.status, 0) << checkMerged.output;

  // msgen copies each msgid into its msgstr; msgexec prints each msgstr and
  // a NUL, the header's first.
  ASSERT_EQ(RunCommand("msgen -o en.po t.pot").status, 0);
  const CommandResult texts = RunCommand("msgexec -i en.po 0", false);
  ASSERT_EQ(texts.status, 0);
  const std::size_t headerEnd = texts.output.find('\0');
  ASSERT_NE(headerEnd, std::string::npos);
  EXPECT_EQ(texts.output.substr(headerEnd + 1), expected);
}

}  // namespace
}  // namespace quillmark::report
