#include "engine/encoding_detection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace quillmark::engine {
namespace {

using namespace std::string_literals;

struct Case {
  const char* what;
  std::string bytes;
  DetectedEncoding expected;
};

TEST(DetectEncoding, AsciiOrStrictUtf8BeforeAnyJapaneseReading) {
  const Case cases[] = {
      {"empty", "", DetectedEncoding::Ascii},
      {"NUL and DEL are ASCII", "int main() {\0 return 0x7F; }\x7F // end of file\n"s, DetectedEncoding::Ascii},
      {"UTF-8", "puts(\"\xE8\xA1\xA8\xE7\xA4\xBA\");", DetectedEncoding::Utf8},
      {"UTF-8 with a byte-order mark", "\xEF\xBB\xBFx = 1;", DetectedEncoding::Utf8},
      {"byte-order mark alone", "\xEF\xBB\xBF", DetectedEncoding::Utf8},
      // EUC-JP reads C0 AF as a first-level kanji, Shift_JIS as two kana.
      {"overlong C0 AF", "a\xC0\xAF", DetectedEncoding::EucJp},
      // Shift_JIS: E0 80 and a kana; EUC-JP: 3 invalid bytes.
      {"overlong E0 80 AF", "\xE0\x80\xAF", DetectedEncoding::ShiftJis},
      // Shift_JIS: ED A0 and an invalid 80; EUC-JP: 3 invalid bytes.
      {"surrogate ED A0 80", "\xED\xA0\x80", DetectedEncoding::ShiftJis},
      // Shift_JIS: F5 80 and 2 invalid bytes; EUC-JP: 4.
      {"lead byte above F4", "\xF5\x80\x80\x80", DetectedEncoding::ShiftJis},
      // One non-Japanese-text pair in either reading: a tie.
      {"truncated sequence", "\xE8\xA1", DetectedEncoding::ShiftJis},
  };
  for (const Case& c : cases) EXPECT_EQ(DetectEncoding(c.bytes), c.expected) << c.what;
}

TEST(DetectEncoding, FewerInvalidBytesThenMoreJapaneseTextThenShiftJis) {
  // 4 invalid bytes in each reading; Japanese text: Shift_JIS 2 (88 9F
  // twice), EUC-JP none (FD FD twice). B0 A1 adds one to EUC-JP only.
  const std::string even = "\x88\x9F\x88\x9F\xFD\xFD\xFD\xFD";
  const std::string euc = "\xB0\xA1";
  const Case cases[] = {
      {"Shift_JIS kanji", "puts(\"\x95\x5C\x8E\xA6\");", DetectedEncoding::ShiftJis},
      {"Shift_JIS katakana", "\x83\x5C\x83\x74\x83\x67", DetectedEncoding::ShiftJis},
      {"EUC-JP hiragana, six kana to Shift_JIS", "\xA4\xA2\xA4\xA4\xA4\xA6", DetectedEncoding::EucJp},
      // E0 A1 and FC FC are pairs in both readings, none Japanese text.
      {"exact tie", "\xE0\xA1\xFC\xFC", DetectedEncoding::ShiftJis},
      {"FD is no Shift_JIS trail byte", "\xE0\xFD", DetectedEncoding::EucJp},
      // 1 invalid byte each; Japanese text A1 A1 in EUC-JP only.
      {"7F is no Shift_JIS trail byte", "\x81\x7F\xA1\xA1", DetectedEncoding::EucJp},
      {"A0 is no Shift_JIS character", "\xA0\xA1\xA1", DetectedEncoding::EucJp},
      {"Japanese text 2 to 1", even + euc, DetectedEncoding::ShiftJis},
      {"Japanese text 2 to 2", even + euc + euc, DetectedEncoding::ShiftJis},
      {"Japanese text 2 to 3", even + euc + euc + euc, DetectedEncoding::EucJp},
      {"invalid 5 to 4 outweighs Japanese text 2 to 0", even + "\xFD\xA1", DetectedEncoding::EucJp},
      {"invalid 0 to 1 outweighs Japanese text 0 to 1", "\xB0\xA1\xB0", DetectedEncoding::ShiftJis},
      // Half-width kana B1 B2 are a kanji to EUC-JP; a third leaves it a
      // truncated pair.
      {"Shift_JIS half-width kana, even", "\xB1\xB2", DetectedEncoding::EucJp},
      {"Shift_JIS half-width kana, odd", "\xB1\xB2\xB3", DetectedEncoding::ShiftJis},
      // Shift_JIS reads 8E B1 and 8E B2 as kanji; EUC-JP kana are no text.
      {"EUC-JP half-width kana", "\x8E\xB1\x8E\xB2", DetectedEncoding::ShiftJis},
      {"EUC-JP half-width kana, FD invalid to Shift_JIS", "\x8E\xB1\xFD\xA1", DetectedEncoding::EucJp},
      // Shift_JIS: 8F A1 and an invalid FE.
      {"EUC-JP three-byte character", "\x8F\xA1\xFE", DetectedEncoding::EucJp},
      // Japanese text 1 to 1: Shift_JIS 8F B0, EUC-JP only the B0 A1 pair.
      {"three-byte character is no Japanese text", "\x8F\xB0\xA1\xB0\xA1", DetectedEncoding::ShiftJis},
  };
  for (const Case& c : cases) EXPECT_EQ(DetectEncoding(c.bytes), c.expected) << c.what;
}

// One high byte anywhere in ASCII, wherever it falls in a wide step: A4
// is a kana to Shift_JIS and an invalid byte to EUC-JP.
TEST(DetectEncoding, SeesAHighByteAtAnyOffset) {
  for (std::size_t at = 0; at < 40; ++at) {
    std::string bytes(40, 'a');
    bytes[at] = '\xA4';
    EXPECT_EQ(DetectEncoding(bytes), DetectedEncoding::ShiftJis) << at;
  }
}

// Pieces of given sizes of some bytes, as a file is read.
class Pieces final : public ByteChunks {
 public:
  Pieces(std::string_view bytes, std::vector<std::size_t> cuts) : bytes_(bytes), cuts_(std::move(cuts)) {}
  bool Next(std::string_view& chunk) override {
    const std::size_t end = next_ < cuts_.size() ? cuts_[next_] : bytes_.size();
    if (start_ >= bytes_.size()) return false;
    chunk = bytes_.substr(start_, std::max(end, start_ + 1) - start_);
    start_ += chunk.size();
    ++next_;
    return true;
  }
  bool Restart() override {
    start_ = next_ = 0;
    return true;
  }

 private:
  std::string_view bytes_;
  std::vector<std::size_t> cuts_;
  std::size_t start_ = 0;
  std::size_t next_ = 0;
};

// A file read in pieces gets the answer its whole bytes get, wherever the
// pieces end: inside a UTF-8 sequence, a two-byte or a three-byte
// character, or the last eight bytes that a reading looks ahead at.
TEST(DetectEncoding, AFileInPiecesGetsTheAnswerOfItsWholeBytes) {
  const std::string texts[] = {
      "x = \"\xE8\xA1\xA8\xE7\xA4\xBA\xF0\x9F\x98\x80\"; /* \xE3\x80\x9C */\n",         // UTF-8
      "x = \"\xE8\xA1\xA8\xE7\xA4\"; y = 1;\n",                                              // UTF-8 cut short
      "s = \"\x95\x5C\x8E\xA6\x82\xA0\xB1\";\n/* \x83\x5C\x83\x74\x83\x67 */\n",    // Shift_JIS
      "s = \"\xA4\xA2\x8F\xA1\xA1\x8E\xB1\xBB\xFA\";\n",                                 // EUC-JP
      "\xB1\xB2\xB3\xB4\xB5\xB6\xB7\xB8\xB9\xBA\xBB",                                      // either way
  };
  for (const std::string& text : texts) {
    const DetectedEncoding whole = DetectEncoding(text);
    for (std::size_t first = 1; first < text.size(); ++first) {
      for (std::size_t second = first; second < text.size(); second += 3) {
        Pieces pieces(text, {first, second});
        ASSERT_EQ(DetectEncoding(pieces), whole) << "cut at " << first << " and " << second << " of " << text;
      }
    }
  }
}

TEST(DetectedEncodingName, NamesEachEncodingAsTheTraceShowsIt) {
  EXPECT_EQ(DetectedEncodingName(DetectedEncoding::Ascii), "ASCII");
  EXPECT_EQ(DetectedEncodingName(DetectedEncoding::ShiftJis), "SJIS-JP");
  EXPECT_EQ(DetectedEncodingName(DetectedEncoding::EucJp), "EUC-JP");
  EXPECT_EQ(DetectedEncodingName(DetectedEncoding::Utf8), "UTF-8");
}

}  // namespace
}  // namespace quillmark::engine
