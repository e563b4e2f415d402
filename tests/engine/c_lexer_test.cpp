#include "engine/c_lexer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillmark::engine {
namespace {

using namespace std::string_literals;

#define SJ_A "\x82\xA0"    // あ
#define SJ_HYO "\x95\x5C"  // 表, trail byte 0x5C
#define SJ_NI "\x93\xFA\x96\x7B"  // 日本
#define EU_A "\xA4\xA2"
#define EU_JI "\xBB\xFA"  // 字

struct Lexed {
  std::vector<Finding> findings;
  std::string trace;
  std::vector<Diagnostic> diagnostics;
};

Lexed Lex(std::string_view text, const EncodingRules& rules) {
  SearchOptions options;
  FileReport report;
  ReportBuilder out(options);
  out.SetReport(report);
  CLexer lexer(out, rules);
  lexer.Scan(text, "f.c");
  return {report.findings, report.trace, report.diagnostics};
}

// A finding as the cases spell it.
struct Found {
  std::string content;
  std::int64_t line;
  std::int64_t column;
  std::string prefix = "";
  bool raw = false;
  char quote = '"';
  friend bool operator==(const Found&, const Found&) = default;
};

std::ostream& operator<<(std::ostream& out, const Found& f) {
  return out << "{" << testing::PrintToString(f.content) << " " << f.line << ":" << f.column << " prefix "
             << f.prefix << (f.raw ? " raw" : "") << " " << f.quote << "}";
}

std::vector<Found> FoundIn(const Lexed& lexed) {
  std::vector<Found> found;
  for (const Finding& f : lexed.findings) found.push_back({f.content, f.line, f.column, f.prefix, f.raw, f.quote});
  return found;
}

struct LexCase {
  const char* name;
  const EncodingRules& rules;
  std::string source;
  std::vector<Found> findings;
  std::vector<std::int64_t> notClosedLines = {};
};

TEST(CLexer, ReadsLiteralsAsACompilerDoes) {
  const std::vector<LexCase> cases = {
      {"a continued message of a table", ShiftJisRules(),
       "static const char* kMessages[] = {\n  \"" SJ_NI "\\\n" SJ_A "\",\n  \"" SJ_A "\",\n};\n",
       {{SJ_NI SJ_A, 2, 3}, {SJ_A, 4, 3}}},
      {"a raw string with a delimiter over three lines", ShiftJisRules(),
       "auto s = R\"msg(" SJ_NI "\n\"" SJ_A "\" \\n\n)\" " SJ_HYO ")msg\"; \"" SJ_A "\"\n",
       {{SJ_NI "\n\"" SJ_A "\" \\n\n)\" " SJ_HYO, 1, 11, "", true}, {SJ_A, 3, 12}}},
      {"digit separators open no literal", ShiftJisRules(), "int n = 1'000'000; \"" SJ_A "\"\n", {{SJ_A, 1, 20}}},
      {"a digit inside an identifier starts no number", ShiftJisRules(), "x1'" SJ_A "';\n",
       {{SJ_A, 1, 3, "", false, '\''}}},
      {"a separator runs the number on to the next apostrophe", ShiftJisRules(), "1'a'" SJ_A "';\n",
       {{SJ_A, 1, 4, "", false, '\''}}},
      {"a header name is no literal", ShiftJisRules(), " # include \"" SJ_NI ".h\"\n#import <" SJ_A "'>\n\"" SJ_A "\"\n",
       {{SJ_A, 3, 1}}},
      {"an include that is not a directive keeps its literal", ShiftJisRules(), "x #include \"" SJ_A "\"\n",
       {{SJ_A, 1, 12}}},
      {"an apostrophe in #error ends at its line", ShiftJisRules(), "#error don't\n\"" SJ_A "\"\n", {{SJ_A, 2, 1}},
       {1}},
      {"prefixes are the identifier right before the quote", ShiftJisRules(),
       "L\"" SJ_A "\" u'" SJ_A "' U\"" SJ_A "\" u8\"" SJ_A "\" xL\"" SJ_A "\" L \"" SJ_A "\"\n",
       {{SJ_A, 1, 2, "L"},
        {SJ_A, 1, 7, "u", false, '\''},
        {SJ_A, 1, 12, "U"},
        {SJ_A, 1, 18, "u8"},
        {SJ_A, 1, 24, ""},
        {SJ_A, 1, 30, ""}}},
      {"a prefix joined by a splice", ShiftJisRules(), "u\\\n8\"" SJ_A "\"\n", {{SJ_A, 2, 2, "u8"}}},
      {"raw prefixes", ShiftJisRules(), "LR\"(" SJ_A ")\" u8R\"x(" SJ_A ")x\"\n",
       {{SJ_A, 1, 3, "L", true}, {SJ_A, 1, 12, "u8", true}}},
      {"a delimiter too long or with a space makes an ordinary literal", ShiftJisRules(),
       "R\"a b(" SJ_A ")a b\" R\"12345678901234567(" SJ_A ")12345678901234567\"\n",
       {{"a b(" SJ_A ")a b", 1, 2}, {"12345678901234567(" SJ_A ")12345678901234567", 1, 15}}},
      {"a trail byte 5C is no backslash", ShiftJisRules(), "\"" SJ_HYO "\" // " SJ_HYO "\n\"" SJ_A "\"\n",
       {{SJ_HYO, 1, 1}, {SJ_A, 2, 1}}},
      {"an escape takes a double-byte character whole", ShiftJisRules(), "\"\\" SJ_HYO "\" \"" SJ_A "\"\n",
       {{"\\" SJ_HYO, 1, 1}, {SJ_A, 1, 6}}},
      {"a backslash before a splice escapes the character after it", ShiftJisRules(),
       "\"\\\\\n\"" SJ_A "\"\n", {{"\\\"" SJ_A, 1, 1}}},
      {"a line comment continues across a splice", ShiftJisRules(), "// c \\\n\"" SJ_A "\"\n\"" SJ_HYO "\"\n",
       {{SJ_HYO, 3, 1}}},
      {"a block comment closes across a splice", ShiftJisRules(), "/* \"x\" *\\\n/ \"" SJ_A "\"\n", {{SJ_A, 2, 3}}},
      {"EUC-JP: a closer behind 字 closes the comment", EucJpRules(), "/* " EU_JI "*/ \"" EU_A "\"\n",
       {{EU_A, 1, 8}}},
      {"an unterminated literal at the end of the file", ShiftJisRules(), "\"" SJ_A "\" \"" SJ_A, {{SJ_A, 1, 1}}, {1}},
      {"a raw string left open runs to the end of the file", ShiftJisRules(),
       "\"" SJ_A "\"\nR\"(" SJ_A "\n\"" SJ_A "\"\n", {{SJ_A, 1, 1}}, {2}},
      {"UTF-8: a continued literal and a raw string", Utf8Rules(),
       "\"日\\\n本\" R\"(\n〜)\" u8'あ'\n", {{"日本", 1, 1}, {"\n〜", 2, 5, "", true}, {"あ", 3, 7, "u8", false, '\''}}},
  };
  for (const LexCase& c : cases) {
    const Lexed lexed = Lex(c.source, c.rules);
    EXPECT_EQ(FoundIn(lexed), c.findings) << c.name;
    std::vector<std::int64_t> lines;
    for (const Diagnostic& d : lexed.diagnostics) {
      EXPECT_TRUE(d.restScanned) << c.name;
      lines.push_back(d.line);
    }
    EXPECT_EQ(lines, c.notClosedLines) << c.name;
  }
}

TEST(CLexer, TracesAsTheLineScannerWithLineBreaksWritten) {
  const Lexed lexed = Lex("'x' \"\" R\"(a\nb)\" \"" SJ_A "\"\n\"open\\\n end\n", ShiftJisRules());
  EXPECT_EQ(lexed.trace, "checking string:x\n"
                         "checking string:a\\nb\n"
                         "checking string:" SJ_A "\n"
                         ">> f.c : 2\n"
                         "Warning: missing string terminator : \"open end\n");
  ASSERT_EQ(lexed.diagnostics.size(), 1u);
  EXPECT_EQ(lexed.diagnostics[0].text, "\"open end");
  EXPECT_EQ(lexed.diagnostics[0].line, 3);
}

}  // namespace
}  // namespace quillmark::engine
