#include "cli/scan_options.h"

#include <gtest/gtest.h>

namespace quillmark::cli {
namespace {

TEST(ParseScanOptions, TakesDefaultsAndValues) {
  auto parsed = ParseScanOptions({"src"});
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.options.encoding, "SJIS");
  EXPECT_EQ(parsed.options.fileExt, "c;cpp;h;hpp");
  EXPECT_EQ(parsed.options.format, "grep");
  EXPECT_FALSE(parsed.options.column || parsed.options.quiet || parsed.options.stats);
  EXPECT_EQ(parsed.options.roots, std::vector<std::string>{"src"});
  EXPECT_EQ(parsed.options.color, "auto");
  EXPECT_TRUE(parsed.options.exclusions.empty());

  parsed = ParseScanOptions({"--encoding", "EUC", "--ext=c;h", "--log", "--raw", " my root "});
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.options.encoding, "EUC");
  EXPECT_EQ(parsed.options.fileExt, "c;h");
  EXPECT_EQ(parsed.options.format, "log") << "--log wins over --raw";
  EXPECT_EQ(parsed.options.roots, std::vector<std::string>{" my root "});

  parsed = ParseScanOptions({"--ext", "", "--", "--odd-folder"});
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.options.fileExt, "");
  EXPECT_EQ(parsed.options.roots, std::vector<std::string>{"--odd-folder"});
}

TEST(ParseScanOptions, TakesAFormatOrTheFlagsThatNameOne) {
  struct Case {
    std::vector<std::string> arguments;
    std::string format;
  };
  const Case cases[] = {
      {{"--format", "json", "."}, "json"}, {{"--format=sarif", "."}, "sarif"}, {{"--raw", "."}, "raw"},
      {{"--format", "csv", "--raw", "."}, "raw"}, {{"-q", "--column", "--stats", "--format=po", "."}, "po"},
  };
  for (const Case& c : cases) {
    const auto parsed = ParseScanOptions(c.arguments);
    ASSERT_EQ(parsed.error, "") << c.format;
    EXPECT_EQ(parsed.options.format, c.format);
  }
  EXPECT_NE(ParseScanOptions({"--format", "xml", "."}).error.find("grep, raw, log, json, csv, sarif or po"),
            std::string::npos);
}

TEST(ParseScanOptions, TakesShortNamesRootsExclusionsAndColours) {
  const auto parsed = ParseScanOptions(
      {"-e", "UTF8", "-q", "--exclude", "build", "a", "--exclude=*.h", "--color", "never", "b", "--", "-c"});
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.options.encoding, "UTF8");
  EXPECT_TRUE(parsed.options.quiet);
  EXPECT_EQ(parsed.options.exclusions, (std::vector<std::string>{"build", "*.h"}));
  EXPECT_EQ(parsed.options.color, "never");
  EXPECT_EQ(parsed.options.roots, (std::vector<std::string>{"a", "b", "-c"}));
  EXPECT_EQ(ParseScanOptions({"-eEUC", "a"}).options.encoding, "EUC");
  EXPECT_EQ(ParseScanOptions({"a"}).options.threads, 0u);
  EXPECT_EQ(ParseScanOptions({"-j", "3", "a"}).options.threads, 3u);
  EXPECT_EQ(ParseScanOptions({"-j1", "a"}).options.threads, 1u);
  EXPECT_EQ(ParseScanOptions({"--threads=256", "a"}).options.threads, 256u);
  EXPECT_TRUE(ParseScanOptions({"-V"}).options.version);
  EXPECT_TRUE(ParseScanOptions({"--version"}).options.version);
}

TEST(ParseScanOptions, TakesALexer) {
  const struct {
    std::vector<std::string> arguments;
    engine::Lexer lexer;
    std::string error;
  } cases[] = {
      {{"a"}, engine::Lexer::Line, ""},
      {{"--lexer", "c", "a"}, engine::Lexer::C, ""},
      {{"--lexer=c", "--lexer=line", "a"}, engine::Lexer::Line, ""},
      {{"--lexer", "C", "a"}, engine::Lexer::Line, "unknown lexer C (line or c)"},
      {{"a", "--lexer"}, engine::Lexer::Line, "option --lexer needs a value"},
  };
  for (const auto& c : cases) {
    const auto parsed = ParseScanOptions(c.arguments);
    EXPECT_EQ(parsed.error, c.error) << c.arguments.back();
    EXPECT_EQ(parsed.options.lexer, c.lexer) << c.arguments.front();
  }
}

TEST(ParseScanOptions, RefusesBadArguments) {
  EXPECT_NE(ParseScanOptions({}).error, "");
  EXPECT_NE(ParseScanOptions({"-e"}).error, "");
  EXPECT_NE(ParseScanOptions({"--color", "sometimes", "a"}).error, "");
  EXPECT_NE(ParseScanOptions({"--exclude"}).error, "");
  EXPECT_NE(ParseScanOptions({"--bogus", "a"}).error, "");
  EXPECT_NE(ParseScanOptions({"a", "--encoding"}).error, "");
  for (const char* threads : {"0", "257", "-1", "2x", "", "99999999999"})
    EXPECT_NE(ParseScanOptions({"--threads", threads, "a"}).error, "") << threads;
  EXPECT_TRUE(ParseScanOptions({"--help"}).options.help);
}

}  // namespace
}  // namespace quillmark::cli
