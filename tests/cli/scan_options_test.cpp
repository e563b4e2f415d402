#include "cli/scan_options.h"

#include <gtest/gtest.h>

namespace quillmark::cli {
namespace {

TEST(ParseScanOptions, TakesDefaultsAndValues) {
  auto parsed = ParseScanOptions({"src"});
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.options.encoding, "SJIS");
  EXPECT_EQ(parsed.options.fileExt, "c;cpp;h;hpp");
  EXPECT_FALSE(parsed.options.log);
  EXPECT_FALSE(parsed.options.raw);
  EXPECT_EQ(parsed.options.root, "src");

  parsed = ParseScanOptions({"--encoding", "EUC", "--ext=c;h", "--log", "--raw", " my root "});
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.options.encoding, "EUC");
  EXPECT_EQ(parsed.options.fileExt, "c;h");
  EXPECT_TRUE(parsed.options.log);
  EXPECT_TRUE(parsed.options.raw);
  EXPECT_EQ(parsed.options.root, " my root ");

  parsed = ParseScanOptions({"--ext", "", "--", "--odd-folder"});
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.options.fileExt, "");
  EXPECT_EQ(parsed.options.root, "--odd-folder");
}

TEST(ParseScanOptions, RefusesBadArguments) {
  EXPECT_NE(ParseScanOptions({}).error, "");
  EXPECT_NE(ParseScanOptions({"a", "b"}).error, "");
  EXPECT_NE(ParseScanOptions({"--bogus", "a"}).error, "");
  EXPECT_NE(ParseScanOptions({"a", "--encoding"}).error, "");
  EXPECT_TRUE(ParseScanOptions({"--help"}).options.help);
}

}  // namespace
}  // namespace quillmark::cli
