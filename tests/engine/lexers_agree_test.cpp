// Where a file holds nothing the two lexers read differently (no splice,
// raw string, digit separator, header name or literal left open), both
// give the same trace and the same findings.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/support/memory_sink.h"
#include "tests/support/temp_tree.h"

namespace quillmark::engine {
namespace {

using testing::MemorySink;

// Pieces of code, each standing between spaces; Japanese of each encoding.
struct Alphabet {
  const EncodingRules& rules;
  std::vector<std::string> japanese;
  bool japaneseInComments;  // EUC-JP: the line scanner seeks "*/" by Shift_JIS characters
};

std::string Generate(std::mt19937& random, const Alphabet& alphabet) {
  const auto pick = [&random](const std::vector<std::string>& from) {
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
  };
  const std::vector<std::string> code = {"int", "x", "L", "u8", "=", ";", "(", ")", "{", "}", "0x1F", "42", "a/b",
                                         "#define", "R", "\t"};
  const auto text = [&](bool japanese, char quote) {
    std::string content;
    const int length = std::uniform_int_distribution<int>(0, 4)(random);
    for (int i = 0; i < length; ++i) {
      switch (std::uniform_int_distribution<int>(0, 4)(random)) {
        case 0: content += japanese ? pick(alphabet.japanese) : "k"; break;
        case 1: content += "\\n"; break;
        case 2: content += quote == '"' ? "\\\"" : "\\'"; break;
        case 3: content += quote == '"' ? "'" : "a"; break;
        default: content += "ab c"; break;
      }
    }
    return content;
  };
  std::string file;
  const int pieces = std::uniform_int_distribution<int>(1, 60)(random);
  for (int i = 0; i < pieces; ++i) {
    switch (std::uniform_int_distribution<int>(0, 6)(random)) {
      case 0: file += "\"" + text(true, '"') + "\""; break;
      case 1: file += "'" + text(true, '\'') + "'"; break;
      case 2: file += "// " + text(alphabet.japaneseInComments, '"') + "\n"; break;
      case 3: file += "/* " + text(alphabet.japaneseInComments, '"') + (i % 2 ? "\n" : "") + " */"; break;
      case 4: file += "\n"; break;
      default: file += pick(code); break;
    }
    file += ' ';
  }
  return file;
}

MemorySink Walk(const std::string& root, const EncodingRules& rules, Lexer lexer) {
  MemorySink sink;
  SearchOptions options = testing::OptionsFor(root, &rules);
  options.extensions = {"c"};
  options.lexer = lexer;
  EXPECT_TRUE(testing::WalkInto(sink, std::move(options)));
  return sink;
}

TEST(LexersAgree, OnFilesWithoutWhatOnlyTheCLexerReads) {
  const std::vector<Alphabet> alphabets = {
      {ShiftJisRules(), {"\x82\xA0", "\x95\x5C", "\xB1", "\x93\xFA\x96\x7B"}, true},
      {EucJpRules(), {"\xA4\xA2", "\xBB\xFA", "\x8E\xB1"}, false},
      {Utf8Rules(), {"あ", "〜", "é", "表"}, true},
  };
  std::mt19937 random(20261208);
  std::size_t findings = 0;
  for (const Alphabet& alphabet : alphabets) {
    for (int round = 0; round < 40; ++round) {
      testing::TempTree tree;
      for (int file = 0; file < 5; ++file) tree.WriteFile("f" + std::to_string(file) + ".c", Generate(random, alphabet));
      const MemorySink line = Walk(tree.Root(), alphabet.rules, Lexer::Line);
      MemorySink c = Walk(tree.Root(), alphabet.rules, Lexer::C);
      for (Finding& finding : c.findings) finding.prefix.clear();
      ASSERT_EQ(c.traceLines, line.traceLines) << alphabet.rules.name << " round " << round;
      ASSERT_EQ(c.findings, line.findings) << alphabet.rules.name << " round " << round;
      findings += line.findings.size();
    }
  }
  EXPECT_GT(findings, 1000u) << "the files hold Japanese literals";
}

}  // namespace
}  // namespace quillmark::engine
