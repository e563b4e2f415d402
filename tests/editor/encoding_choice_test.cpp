#include "editor/encoding_choice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillmark::editor {
namespace {

TEST(EncodingItemForTest, FindsTheItemByPrefixIgnoringCase) {
  const std::vector<std::string> items = {"SJIS", "EUC"};
  struct Case {
    const char* encoding;
    std::size_t expected;
  };
  const Case cases[] = {
      {"SJIS", 0}, {"EUC", 1},     {"euc", 1},     {"sJiS", 0}, {"E", 1},
      {"s", 0},    {"UTF-8", 0},   {"SJIS-JP", 0}, {"", 0},     {"EUC ", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(EncodingItemFor(items, c.encoding), c.expected) << c.encoding;
}

TEST(EncodingItemForTest, SearchesFromTheSecondItemAndWrapsRound) {
  EXPECT_EQ(EncodingItemFor({"SJIS", "SJIS2", "EUC"}, "sjis"), 1u);
  EXPECT_EQ(EncodingItemFor({"EUC", "SJIS", "EUC-2"}, "EUC"), 2u);
  EXPECT_EQ(EncodingItemFor({"EUC", "SJIS"}, "euc"), 0u);
  EXPECT_EQ(EncodingItemFor({}, "SJIS"), 0u);
}

}  // namespace
}  // namespace quillmark::editor
