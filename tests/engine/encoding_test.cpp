#include <gtest/gtest.h>

#include "engine/euc_encoding.h"
#include "engine/sjis_encoding.h"
#include "engine/source_finder.h"
#include "tests/support/memory_sink.h"

namespace quillmark::engine {
namespace {

TEST(SjisEncoding, ClassifiesBytesByTheShiftJisRanges) {
  const SjisEncoding sjis;
  for (int b = 0; b < 256; ++b) {
    const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xEF) || (b >= 0xFA && b <= 0xFC);
    EXPECT_EQ(sjis.IsLeadByte(static_cast<std::uint8_t>(b)), lead) << b;
    EXPECT_EQ(sjis.IsSingleByteJapanese(static_cast<std::uint8_t>(b)), b >= 0xA0 && b <= 0xDF) << b;
  }
  EXPECT_EQ(sjis.GetName(), "SJIS-JP");
  EXPECT_EQ(sjis.ToShiftJis("\x95\x5C ab"), "\x95\x5C ab");
}

TEST(EucEncoding, ClassifiesBytesByTheEucJpRanges) {
  const EucEncoding euc;
  for (int b = 0; b < 256; ++b) {
    EXPECT_EQ(euc.IsLeadByte(static_cast<std::uint8_t>(b)), b == 0x8E || (b >= 0xA1 && b <= 0xFE)) << b;
    EXPECT_FALSE(euc.IsSingleByteJapanese(static_cast<std::uint8_t>(b))) << b;
  }
  EXPECT_EQ(euc.GetName(), "EUC-JP");
}

TEST(EucEncoding, ConvertsToShiftJisArithmetically) {
  const EucEncoding euc;
  const struct {
    std::string euc;
    std::string sjis;
  } cases[] = {
      {"\xA4\xA2", "\x82\xA0"},                          // あ
      {"\xA5\xA2", "\x83\x41"},                          // ア
      {"\xB0\xA1", "\x88\x9F"},                          // 亜
      {"\xA5\xE0", "\x83\x80"},                          // odd lead, trail past 0x7E
      {"\xDF\xA1", "\xE0\x40"},                          // first row above 0xDF
      {"\xFE\xFE", "\xEF\xFC"},
      {"\x8E\xB1", "\xB1"},                              // half-width katakana
      {"\xA4\xA2\xA4\xA4\xA4\xA6", "\x82\xA0\x82\xA2\x82\xA4"},  // あいう
      {"abc \\n \"x\"", "abc \\n \"x\""},                // ASCII unchanged
      {"ab\xA4", "ab\xA4"},                              // lone lead byte at the end
      {"\x8F" "a", "\x8F" "a"},                          // 0x8F is no lead byte
      {"\xA4\xA2      ", "\x82\xA0      "},              // padding passes
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(euc.ToShiftJis(c.euc), c.sjis);
}

TEST(GetEncodingName, NamesTheSearchEncoding) {
  const struct {
    const EncodingRules* rules;  // null: detected per file
    const char* name;
  } cases[] = {
      {&ShiftJisRules(), "SJIS-JP"},
      {&EucJpRules(), "EUC-JP"},
      {&Utf8Rules(), "UTF-8"},
      {nullptr, "AUTO"},
  };
  for (const auto& c : cases) {
    testing::MemorySink sink;
    EXPECT_EQ(SourceFinder(testing::OptionsFor("/", c.rules), sink).GetEncodingName(), c.name);
  }
}

}  // namespace
}  // namespace quillmark::engine
