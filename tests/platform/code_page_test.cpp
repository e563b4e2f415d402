#include "platform/code_page.h"

#include <gtest/gtest.h>

namespace quillmark::platform {
namespace {

TEST(Cp932ToUtf8, DecodesShiftJisWithWindowsMappings) {
  EXPECT_EQ(Cp932ToUtf8("abc"), "abc");
  EXPECT_EQ(Cp932ToUtf8("\x82\xA0\x82\xA2"), "あい");
  EXPECT_EQ(Cp932ToUtf8("\x95\x5C"), "表");
  EXPECT_EQ(Cp932ToUtf8("\xB1"), "ｱ");
  // 0x5C stays a backslash, and the NEC extensions are known.
  EXPECT_EQ(Cp932ToUtf8("\\n"), "\\n");
  EXPECT_EQ(Cp932ToUtf8("\x87\x40"), "①");
}

TEST(Cp932ToUtf8, ReplacesInvalidSequencesAndGoesOn) {
  EXPECT_EQ(Cp932ToUtf8("a\x82"), "a\xEF\xBF\xBD");               // lead byte at the end
  EXPECT_EQ(Cp932ToUtf8("\x82\"x"), "\xEF\xBF\xBD\"x");           // lead byte before ASCII
  EXPECT_EQ(Cp932ToUtf8("\xFF" "a"), "\xEF\xBF\xBD" "a");
  EXPECT_EQ(Cp932ToUtf8(std::string(5000, '\xFF')).size(), 5000u * 3);
}

TEST(IsValidUtf8, AcceptsOnlyWellFormedText) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("ascii"));
  EXPECT_TRUE(IsValidUtf8("解析開始"));
  EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));
  EXPECT_FALSE(IsValidUtf8("\x82\xA0"));          // Shift_JIS
  EXPECT_FALSE(IsValidUtf8("\xA4\xA2"));          // EUC-JP
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(IsValidUtf8("\xE3\x81"));          // cut short
}

}  // namespace
}  // namespace quillmark::platform
