// The literal scanner over UTF-8 lines, given as bytes: characters as far
// as their continuation bytes reach, Japanese as Shift_JIS would have it,
// comment ends by plain bytes and texts as written.
#include <gtest/gtest.h>

#include "engine/literal_scanner.h"
#include "engine/stop_bytes.h"
#include "report/finding_text.h"
#include "tests/engine/scan_test_support.h"

namespace quillmark::engine {
namespace {

using Lines = std::vector<std::string>;

struct Scanned {
  Lines trace;
  Lines texts;  // the findings' texts, trailing padding removed
  bool completed = true;
};

Scanned ScanUtf8(std::string_view text) {
  testing::LineScan scan(Utf8Rules());
  LiteralScanner& scanner = scan.scanner;
  scanner.SetPosition(1, "f.c");
  bool inComment = false;
  Scanned scanned;
  while (!text.empty() && scanned.completed) {
    const std::size_t end = std::min(text.find('\n'), text.size() - 1) + 1;
    scanned.completed = scanner.ScanLine(text.substr(0, end), inComment);
    scanner.NextLine();
    text.remove_prefix(end);
  }
  scanned.trace = testing::TraceLinesOf(scan.report);
  for (const Finding& finding : scan.report.findings) {
    EXPECT_EQ(finding.encoding, SourceEncoding::Utf8);
    const std::string text = report::RecordedText(finding);
    EXPECT_GE(text.size(), 20u);
    std::string trimmed = text;
    trimmed.erase(trimmed.find_last_not_of(' ') + 1);
    scanned.texts.push_back(trimmed);
  }
  return scanned;
}

TEST(Utf8Scan, ReportsWhatShiftJisWouldAndKeepsTheTextAsWritten) {
  struct Case {
    const char* name;
    std::string source;
    Lines texts;  // each finding's text; a literal not listed is only traced
  };
  const Case cases[] = {
      {"wave dash stays U+301C", "s = \"〜\";\n", {"〜"}},
      {"multiplication sign is Shift_JIS", "s = \"×\";\n", {"×"}},
      {"e acute is not", "s = \"é\";\n", {}},
      {"half-width katakana", "s = \"ｱ\";\n", {"ｱ"}},
      {"four-byte character is not", "s = \"\xF0\x9F\x98\x80\";\n", {}},
      {"overlong form of a Greek letter is not", "s = \"\xE0\x8E\x91\";\n", {}},
      {"lone continuation bytes", "s = \"\x80\x9C\";\n", {}},
      {"C0, C1 and F5-FF open nothing", "s = \"\xC0\xAF\xC1\xBF\xF5\x80\x80\x80\xFF\";\n", {}},
      {"character cut short by its literal", "s = \"\xE3\x81\"; t = \"あ\";\n", {"あ"}},
      {"backslash skips one byte of a character", "s = \"\\あ\";\n", {}},
      {"closer right after 字, by bytes", "/* 字*/ s = \"あ\";\n", {"あ"}},
      {"byte-order mark before code", "\xEF\xBB\xBF" "s = \"あ\";\n", {"あ"}},
      {"padding counts UTF-8 bytes", "s = \"あいうえおか\";\n", {"あいうえおか"}},
  };
  for (const Case& c : cases) {
    const Scanned scanned = ScanUtf8(c.source);
    EXPECT_TRUE(scanned.completed) << c.name;
    EXPECT_EQ(scanned.texts, c.texts) << c.name;
  }
}

TEST(Utf8Scan, ACharacterCutByTheLineEndIsAnOrdinaryByte) {
  // The literal runs to the line's end: the lead byte cannot take the LF.
  const Scanned scanned = ScanUtf8("s = \"\xE3\x81\nt = \"あ\";\n");
  EXPECT_FALSE(scanned.completed);
  EXPECT_EQ(testing::TraceText(scanned.trace), "Error: missing string terminator : s = \"\xE3\x81\n\n");
  // Outside a literal, a lead byte at the line's end is skipped like any byte.
  EXPECT_EQ(ScanUtf8("x = 1; \xE3\n\"〜\"\n").texts, Lines{"〜"});
}

TEST(Utf8Scan, PaddingMakesTwentyBytes) {
  testing::LineScan scan(Utf8Rules());
  scan.scanner.SetPosition(7, "u.c");
  bool inComment = false;
  ASSERT_TRUE(scan.scanner.ScanLine("\"〜\"\n", inComment));
  const FindingList& findings = scan.report.findings;
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(report::RecordedText(findings[0]), "〜" + std::string(17, ' '));
  EXPECT_EQ(findings[0].line, 7);
  EXPECT_EQ(findings[0].path, "u.c");
  EXPECT_EQ(testing::TraceLinesOf(scan.report), (Lines{"checking string:〜", ">> u.c : 7"}));
}

// The wide search must stop exactly where the byte-by-byte one does, for
// every rule set's stops, at every offset into inputs longer than a block.
TEST(StopBytes, WideAndPortableSearchesAgree) {
#if defined(__SSE2__)
  std::string text;
  for (int i = 0; i < 700; ++i) text += static_cast<char>((i * 37 + i / 5) % 256);
  text += std::string(40, 'a') + "\"" + std::string(17, 'b') + "\xE3";
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  for (const EncodingRules* rules : {&ShiftJisRules(), &EucJpRules(), &Utf8Rules()}) {
    for (const StopBytes* stops : {&rules->codeStops, &rules->literalStops}) {
      for (std::size_t from = 0; from < text.size(); ++from) {
        ASSERT_EQ(FindStopByteSse2(bytes, from, text.size(), *stops),
                  FindStopBytePortable(bytes, from, text.size(), *stops))
            << rules->name << " from " << from;
      }
    }
  }
#else
  GTEST_SKIP() << "no SSE2 here";
#endif
}

TEST(StopBytes, EveryAsciiStopIsNamedForTheWideSearch) {
  for (const EncodingRules* rules : {&ShiftJisRules(), &EucJpRules(), &Utf8Rules()}) {
    for (const StopBytes* stops : {&rules->codeStops, &rules->literalStops}) {
      for (int b = 0; b < 0x80; ++b) {
        const bool named = std::find(stops->ascii.begin(), stops->ascii.end(), b) != stops->ascii.end();
        EXPECT_EQ(stops->table[b], named) << rules->name << " byte " << b;
      }
    }
  }
}

}  // namespace
}  // namespace quillmark::engine
