#include "platform/code_page.h"

#include <iconv.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <optional>
#include <string>

namespace quillmark::platform {
namespace {

const std::string kReplacement = "\xEF\xBF\xBD";

std::string Utf8(char32_t c) {
  std::string s;
  if (c < 0x80) {
    s += static_cast<char>(c);
  } else if (c < 0x800) {
    s += static_cast<char>(0xC0 | (c >> 6));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    s += static_cast<char>(0xE0 | (c >> 12));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  }
  return s;
}

bool IsLeadByte(unsigned b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// What each byte decodes to on its own, range by range; a range whose
// `counts` is set maps its bytes onto consecutive code points.
struct ByteRange {
  unsigned first, last;
  char32_t codePoint;
  bool counts;
};
constexpr ByteRange kSingleBytes[] = {
    {0x00, 0x7F, 0x0000, true},   // ASCII, backslash and tilde included
    {0x80, 0x80, 0x0080, false},  // the five bytes only Windows decodes
    {0xA0, 0xA0, 0xF8F0, false},
    {0xFD, 0xFF, 0xF8F1, true},
    {0xA1, 0xDF, 0xFF61, true},   // half-width katakana
    {0x81, 0x9F, 0xFFFD, false},  // a lead byte with nothing behind it
    {0xE0, 0xFC, 0xFFFD, false},
};

std::string DecodedAlone(unsigned b) {
  for (const ByteRange& r : kSingleBytes)
    if (b >= r.first && b <= r.last) return Utf8(r.counts ? r.codePoint + (b - r.first) : r.codePoint);
  ADD_FAILURE() << "no expectation for byte " << b;
  return {};
}

TEST(Cp932ToUtf8, DecodesShiftJisWithWindowsMappings) {
  EXPECT_EQ(Cp932ToUtf8("abc"), "abc");
  EXPECT_EQ(Cp932ToUtf8("\x82\xA0\x82\xA2"), "あい");
  EXPECT_EQ(Cp932ToUtf8("\x95\x5C"), "表");
  // 0x5C stays a backslash, and the NEC extensions and the user-defined
  // area are known.
  EXPECT_EQ(Cp932ToUtf8("\\n"), "\\n");
  EXPECT_EQ(Cp932ToUtf8("\x87\x40"), "①");
  EXPECT_EQ(Cp932ToUtf8("\xF0\x40"), "\xEE\x80\x80");  // U+E000
}

TEST(Cp932ToUtf8, DecodesEverySingleByte) {
  for (unsigned b = 0; b <= 0xFF; ++b)
    EXPECT_EQ(Cp932ToUtf8(std::string(1, static_cast<char>(b))), DecodedAlone(b)) << "byte " << std::hex << b;
}

// A lead byte whose pair is unassigned is replaced by itself alone, and the
// byte behind it is decoded as if it stood alone.
TEST(Cp932ToUtf8, ReplacesOnlyTheLeadOfAnUnassignedPair) {
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLeadByte(lead)) continue;
    const std::string pair{static_cast<char>(lead), '\x7F'};
    EXPECT_EQ(Cp932ToUtf8(pair), kReplacement + "\x7F") << "lead " << std::hex << lead;
  }
  // Holes of the table inside the trail byte range, for leads that have them.
  struct Pair {
    unsigned lead, trail;
  };
  constexpr Pair kUnassigned[] = {
      {0x81, 0xAD}, {0x82, 0x40}, {0x83, 0x97}, {0x84, 0x61}, {0x85, 0x40}, {0x86, 0x9F}, {0x87, 0x5E},
      {0x88, 0x40}, {0x98, 0x73}, {0xEA, 0xA5}, {0xEB, 0x40}, {0xEC, 0x80}, {0xEE, 0xED}, {0xEF, 0xFC},
      {0xFC, 0x4C},
  };
  for (const Pair& p : kUnassigned) {
    const std::string pair{static_cast<char>(p.lead), static_cast<char>(p.trail)};
    EXPECT_EQ(Cp932ToUtf8(pair), kReplacement + DecodedAlone(p.trail))
        << "pair " << std::hex << p.lead << ' ' << p.trail;
  }
}

// Every pair a lead byte can begin decodes as iconv's CP932 table says,
// or as the replaced lead and its trail alone where the table has no pair.
TEST(Cp932ToUtf8, AgreesWithIconvOnEveryPair) {
  const iconv_t cd = iconv_open("UTF-8", "CP932");
  ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLeadByte(lead)) continue;
    for (unsigned trail = 0; trail <= 0xFF; ++trail) {
      char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      char* in = pair;
      std::size_t inLeft = 2;
      char decoded[8];
      char* out = decoded;
      std::size_t outLeft = sizeof decoded;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      const bool assigned = iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1);
      const std::string expected =
          assigned ? std::string(decoded, static_cast<std::size_t>(out - decoded)) : kReplacement + DecodedAlone(trail);
      ASSERT_EQ(Cp932ToUtf8(std::string(pair, 2)), expected) << "pair " << std::hex << lead << ' ' << trail;
    }
  }
  iconv_close(cd);
}

TEST(Cp932ToUtf8, GoesOnBehindEveryReplacement) {
  EXPECT_EQ(Cp932ToUtf8("\x82\x40"), kReplacement + "@");
  EXPECT_EQ(Cp932ToUtf8("a\x82"), "a" + kReplacement);             // lead byte at the end
  EXPECT_EQ(Cp932ToUtf8("\x82\"x"), kReplacement + "\"x");        // lead byte before ASCII
  EXPECT_EQ(Cp932ToUtf8("\x82\n\x82\xA0"), kReplacement + "\nあ");  // the line end survives
  EXPECT_EQ(Cp932ToUtf8("\xFF" "a\x80"), "\xEF\xA3\xB3" "a\xC2\x80");
  // Replacements well past the first chunk of output.
  std::string many, expected;
  for (int i = 0; i < 3000; ++i) many += "\x82\x40\x82\xA0", expected += kReplacement + "@あ";
  EXPECT_EQ(Cp932ToUtf8(many + "\x82"), expected + kReplacement);
}

TEST(IsCp932Japanese, TellsWhatCp932WritesBeyondAscii) {
  struct Case {
    char32_t codePoint;
    bool expected;
    const char* what;
  };
  constexpr Case kCases[] = {
      {U'A', false, "ASCII"},
      {U'\\', false, "backslash"},
      {0x3042, true, "hiragana a (82 A0)"},
      {0x5B57, true, "kanji (8E 9A)"},
      {0x301C, true, "wave dash (81 60)"},
      {0x00D7, true, "multiplication sign (81 7E)"},
      {0x0391, true, "Greek Alpha (83 9F)"},
      {0x2460, true, "NEC circled one (87 40)"},
      {0xFF71, true, "half-width katakana (B1)"},
      {0xE000, true, "first user-defined character (F0 40)"},
      {0x00E9, false, "e acute: refused"},
      {0x00A0, false, "no-break space: refused"},
      {0x00A5, false, "yen sign folded onto 5C"},
      {0x203E, false, "overline folded onto 7E"},
      {0xFFFD, false, "replacement character: refused"},
      {0xF8F0, false, "decoded from A0, but not written back"},
      {0xD800, false, "surrogate"},
      {0x20B9F, false, "astral kanji"},
      {0xE0041, false, "language tag, dropped by iconv"},
      {0x110000, false, "beyond Unicode"},
  };
  for (const Case& c : kCases) EXPECT_EQ(IsCp932Japanese(c.codePoint), c.expected) << c.what;
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

// The byte classes that detection and the scanner build on are the ones
// iconv's CP932 table has: a lead byte is what iconv waits behind, and a
// pair it decodes ends in a trail byte.
TEST(ShiftJisBytes, AreIconvsLeadAndTrailBytes) {
  const iconv_t cd = iconv_open("UTF-8", "CP932");
  ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
  const auto decodes = [cd](std::string bytes, int& error) {
    char* in = bytes.data();
    std::size_t inLeft = bytes.size();
    char decoded[8];
    char* out = decoded;
    std::size_t outLeft = sizeof decoded;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    const bool done = iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1);
    error = errno;
    return done && out - decoded > 0 && inLeft == 0;
  };
  for (unsigned b = 0; b <= 0xFF; ++b) {
    int error = 0;
    const bool single = decodes(std::string(1, static_cast<char>(b)), error);
    EXPECT_EQ(IsShiftJisLeadByte(static_cast<unsigned char>(b)), !single && error == EINVAL) << std::hex << b;
    if (!IsShiftJisLeadByte(static_cast<unsigned char>(b))) continue;
    for (unsigned t = 0; t <= 0xFF; ++t) {
      const std::string pair{static_cast<char>(b), static_cast<char>(t)};
      if (decodes(pair, error) && Cp932ToUtf8(pair).find(kReplacement) == std::string::npos) {
        ASSERT_TRUE(IsShiftJisTrailByte(static_cast<unsigned char>(t))) << std::hex << b << ' ' << t;
      }
    }
  }
  iconv_close(cd);
}

TEST(Utf8SequenceLength, TellsWhatEachLeadByteOpens) {
  constexpr struct {
    unsigned first, last;
    std::size_t length;
  } kRanges[] = {{0x00, 0x7F, 1}, {0x80, 0xC1, 0}, {0xC2, 0xDF, 2}, {0xE0, 0xEF, 3}, {0xF0, 0xF4, 4}, {0xF5, 0xFF, 0}};
  for (const auto& r : kRanges)
    for (unsigned b = r.first; b <= r.last; ++b)
      EXPECT_EQ(Utf8SequenceLength(static_cast<unsigned char>(b)), r.length) << std::hex << b;
}

TEST(Utf8ToCp932, EncodesBackWhatCp932ToUtf8Decoded) {
  const struct {
    std::string utf8;
    std::optional<std::string> cp932;
  } cases[] = {
      {"a\\~", "a\\~"},
      {"\xE3\x81\x82\xE8\xA1\xA8", "\x82\xA0\x95\x5C"},  // あ表
      {"\xC2\x80" "a\xEF\xA3\xB0\xEF\xA3\xB1\xEF\xA3\xB2\xEF\xA3\xB3", "\x80" "a\xA0\xFD\xFE\xFF"},  // Windows' own
      {"\xC3\xA9", std::nullopt},          // é: not in CP932
      {"\xF0\x9F\x98\x80", std::nullopt},  // astral
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToCp932(c.utf8), c.cp932) << c.utf8;
}

TEST(IsWellFormedEucJp, AcceptsOnlyPairsTheArithmeticMapsOneToOne) {
  const struct {
    std::string bytes;
    bool wellFormed;
  } cases[] = {
      {"", true},
      {"ascii", true},
      {"\xA4\xA2\x8E\xB1", true},  // あ, half-width ア
      {"\xFE\xFE", true},
      {"\xA4", false},               // lone lead byte
      {"\xA4" "a", false},           // lead byte before ASCII
      {"\x8E\xA4\xA2", false},      // a kana pair, then a lone A2
      {"\x8E" "A", false},
      {"\x8F\xB0\xA1", false},      // JIS X 0212
      {"\xA0\xA1", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsWellFormedEucJp(c.bytes), c.wellFormed) << c.bytes;
}

TEST(DisplayText, KeepsUtf8AndDecodesTheRestAsCp932) {
  std::string out = ">";
  AppendDisplayText("\xE3\x81\x82", out);
  AppendDisplayText("\x82\xA0\xA4\xA2", out);  // Shift_JIS; EUC-JP looks as it would there
  EXPECT_EQ(out, ">\xE3\x81\x82\xE3\x81\x82\xEF\xBD\xA4\xEF\xBD\xA2");
  EXPECT_EQ(ToDisplayText("\xFF"), "\xEF\xA3\xB3");
}

}  // namespace
}  // namespace quillmark::platform
