// The CP932 tables are built from each system's own converter; both builds
// must answer alike for every byte sequence and every code point. The
// digests were measured on Linux (glibc iconv).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/code_page.h"

namespace quillmark::platform {
namespace {

struct Digest {
  std::uint64_t value = 1469598103934665603ull;
  void Add(std::string_view bytes) {
    for (const char c : bytes) value = (value ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    value = (value ^ 0xFF) * 1099511628211ull;  // ends each answer
  }
};

TEST(Cp932Tables, AnswerAsOnLinuxForEveryByteAndPair) {
  Digest decoded;
  Digest strict;
  for (unsigned b = 0; b < 256; ++b) {
    const std::string single(1, static_cast<char>(b));
    decoded.Add(Cp932ToUtf8(single));
    for (unsigned t = 0; t < 256; ++t) {
      const std::string pair{static_cast<char>(b), static_cast<char>(t)};
      decoded.Add(Cp932ToUtf8(pair));
      std::string out;
      strict.Add(AppendCp932AsUtf8(pair, out) ? out : "-");
    }
  }
  Digest japanese;
  Digest encoded;
  for (char32_t c = 0x80; c <= 0xFFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    japanese.Add(IsCp932Japanese(c) ? "1" : "0");
    std::string utf8;
    AppendUtf8(c, utf8);
    encoded.Add(Utf8ToCp932(utf8).value_or("-"));
  }
  EXPECT_EQ(decoded.value, 6805908778468148759u) << "decoded";
  EXPECT_EQ(strict.value, 9164714725435712228u) << "strict";
  EXPECT_EQ(japanese.value, 9102388965679286291u) << "japanese";
  EXPECT_EQ(encoded.value, 11577793594468196972u) << "encoded";
}

TEST(Cp932Tables, KeepWindowsMeaningsAndReplaceABadLeadAloneAsOnLinux) {
  const struct {
    const char* bytes;
    const char* utf8;
  } cases[] = {
      {"\x80\xA0\xFD\xFE\xFF", "\xC2\x80\xEF\xA3\xB0\xEF\xA3\xB1\xEF\xA3\xB2\xEF\xA3\xB3"},
      {"\x82\x40", "\xEF\xBF\xBD@"},    // no pair: the lead goes, "@" stays
      {"\x81\n", "\xEF\xBF\xBD\n"},     // a lead never takes the line end along
      {"\x81\x60", "\xEF\xBD\x9E"},     // WAVE DASH's byte reads as FULLWIDTH TILDE
  };
  for (const auto& c : cases) EXPECT_EQ(Cp932ToUtf8(c.bytes), c.utf8) << c.bytes;
  EXPECT_TRUE(IsCp932Japanese(0x301C));  // written 81 60 on both systems
  EXPECT_EQ(Utf8ToCp932("\xE3\x80\x9C"), "\x81\x60");
}

}  // namespace
}  // namespace quillmark::platform
