#include "engine/search_setup.h"

#include <gtest/gtest.h>

#include "engine/encoding_rules.h"

namespace quillmark::engine {
namespace {

using Extensions = std::vector<std::string>;

TEST(BuildExtensionList, SplitsTheSettingLikeItsTokenizer) {
  EXPECT_EQ(BuildExtensionList("c;cpp;h;hpp"), (Extensions{"c", "cpp", "h", "hpp"}));
  EXPECT_EQ(BuildExtensionList(".cpp;.h"), (Extensions{"cpp", "h"}));
  EXPECT_EQ(BuildExtensionList(";;c;"), (Extensions{"c"}));
  EXPECT_EQ(BuildExtensionList("..c"), (Extensions{".c"}));
  EXPECT_EQ(BuildExtensionList("c; h"), (Extensions{"c", " h"}));
  EXPECT_EQ(BuildExtensionList("C;c;c"), (Extensions{"C", "c", "c"}));
  EXPECT_EQ(BuildExtensionList("."), Extensions{});
  EXPECT_EQ(BuildExtensionList(""), Extensions{});
  EXPECT_EQ(BuildExtensionList(";;;"), Extensions{});
}

TEST(TrimRootPath, RemovesOnlySingleByteWhiteSpace) {
  EXPECT_EQ(TrimRootPath(" \t\r\n\v\f/src \t"), "/src");
  EXPECT_EQ(TrimRootPath("   "), "");
  EXPECT_EQ(TrimRootPath("/my src"), "/my src");
  // The full-width space U+3000 is not removed.
  EXPECT_EQ(TrimRootPath("\xE3\x80\x80/src\xE3\x80\x80"), "\xE3\x80\x80/src\xE3\x80\x80");
}

TEST(EncodingForSetting, AcceptsExactlyTheFourSettings) {
  const struct {
    const char* setting;
    const EncodingRules* rules;  // null: detected per file
    const char* name;
  } accepted[] = {
      {"SJIS", &ShiftJisRules(), "SJIS-JP"},
      {"EUC", &EucJpRules(), "EUC-JP"},
      {"UTF8", &Utf8Rules(), "UTF-8"},
      {"AUTO", nullptr, "AUTO"},
  };
  for (const auto& c : accepted) {
    const std::optional<SearchEncoding> encoding = EncodingForSetting(c.setting);
    ASSERT_TRUE(encoding) << c.setting;
    EXPECT_EQ(encoding->rules, c.rules) << c.setting;
    EXPECT_EQ(encoding->name, c.name) << c.setting;
  }
  for (const char* refused : {"sjis", "Euc", "SJIS-JP", "EUC-JP", "", "SJIS ", "utf8", "UTF-8", "auto"})
    EXPECT_FALSE(EncodingForSetting(refused)) << refused;
}

TEST(UnsupportedEncodingMessage, QuotesTheValue) {
  EXPECT_EQ(UnsupportedEncodingMessage("sjis"), "エラー：エンコーディング<sjis>はサポートされていません。");
  EXPECT_EQ(UnsupportedEncodingMessage(""), "エラー：エンコーディング<>はサポートされていません。");
}

}  // namespace
}  // namespace quillmark::engine
