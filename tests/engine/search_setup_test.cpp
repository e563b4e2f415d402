#include "engine/search_setup.h"

#include <gtest/gtest.h>

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

TEST(CreateSourceFinder, AcceptsExactlySjisAndEuc) {
  ASSERT_NE(CreateSourceFinder("SJIS"), nullptr);
  EXPECT_EQ(CreateSourceFinder("SJIS")->GetEncodingName(), "SJIS-JP");
  EXPECT_EQ(CreateSourceFinder("EUC")->GetEncodingName(), "EUC-JP");
  for (const char* refused : {"sjis", "Euc", "SJIS-JP", "EUC-JP", "", "SJIS "})
    EXPECT_EQ(CreateSourceFinder(refused), nullptr) << refused;
}

TEST(UnsupportedEncodingMessage, QuotesTheValue) {
  EXPECT_EQ(UnsupportedEncodingMessage("sjis"), "エラー：エンコーディング<sjis>はサポートされていません。");
  EXPECT_EQ(UnsupportedEncodingMessage(""), "エラー：エンコーディング<>はサポートされていません。");
}

}  // namespace
}  // namespace quillmark::engine
