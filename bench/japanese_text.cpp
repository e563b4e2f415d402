#include "bench/japanese_text.h"

#include <array>
#include <string_view>

#include "platform/code_page.h"

namespace quillmark::bench {
namespace {

void AppendShiftJis(std::string& out, JisCharacter character) {
  // Shift_JIS folds two JIS rows into one lead byte; the odd row takes the
  // trail bytes 0x40-0x9E (skipping 0x7F), the even row 0x9F-0xFC.
  const int jisRow = character.row + 0x20;
  const int jisCell = character.cell + 0x20;
  const int lead = ((jisRow + 1) >> 1) + (jisRow <= 0x5E ? 0x70 : 0xB0);
  int trail;
  if (jisRow & 1)
    trail = jisCell + (jisCell >= 0x60 ? 0x20 : 0x1F);
  else
    trail = jisCell + 0x7E;
  out += static_cast<char>(lead);
  out += static_cast<char>(trail);
}

void AppendUtf8(std::string& out, char32_t codePoint) {
  // Every character written here lies in U+0800-U+FFFF: three bytes.
  out += static_cast<char>(0xE0 | (codePoint >> 12));
  out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
  out += static_cast<char>(0x80 | (codePoint & 0x3F));
}

// The UTF-8 of every JIS X 0208 position, as CP932 decodes it: made once,
// as iconv per character would dominate the generation.
class Utf8Table {
 public:
  Utf8Table() {
    std::string sjis;
    for (int row = 1; row <= 94; ++row) {
      for (int cell = 1; cell <= 94; ++cell) {
        sjis.clear();
        AppendShiftJis(sjis, {static_cast<std::uint8_t>(row), static_cast<std::uint8_t>(cell)});
        entries_[Index(row, cell)] = platform::Cp932ToUtf8(sjis);
      }
    }
  }

  std::string_view Get(JisCharacter character) const { return entries_[Index(character.row, character.cell)]; }

 private:
  static std::size_t Index(int row, int cell) { return static_cast<std::size_t>((row - 1) * 94 + (cell - 1)); }

  std::array<std::string, 94 * 94> entries_;
};

}  // namespace

JisCharacter RandomJisCharacter(Random& random) {
  const std::uint32_t kind = random.Below(100);
  if (kind < 45) return {4, static_cast<std::uint8_t>(random.Between(1, 83))};  // hiragana
  if (kind < 60) return {5, static_cast<std::uint8_t>(random.Between(1, 86))};  // katakana
  if (kind < 66) return {1, static_cast<std::uint8_t>(random.Between(1, 94))};  // punctuation, full-width space
  if (kind < 90) {                                                             // level 1 kanji, rows 16-47
    const auto row = static_cast<std::uint8_t>(random.Between(16, 47));
    return {row, static_cast<std::uint8_t>(random.Between(1, row == 47 ? 51 : 94))};
  }
  const auto row = static_cast<std::uint8_t>(random.Between(48, 84));  // level 2 kanji, rows 48-84
  return {row, static_cast<std::uint8_t>(random.Between(1, row == 84 ? 6 : 94))};
}

void AppendJisCharacter(std::string& out, SourceEncoding encoding, JisCharacter character) {
  switch (encoding) {
    case SourceEncoding::EucJp:
      out += static_cast<char>(character.row + 0xA0);
      out += static_cast<char>(character.cell + 0xA0);
      return;
    case SourceEncoding::Utf8: {
      static const Utf8Table table;
      out += table.Get(character);
      return;
    }
    case SourceEncoding::ShiftJis:
    case SourceEncoding::Ascii:  // never asked for; see the enum
      AppendShiftJis(out, character);
      return;
  }
}

void AppendHalfWidthKatakana(std::string& out, SourceEncoding encoding, std::uint8_t code) {
  if (encoding == SourceEncoding::Utf8) {
    AppendUtf8(out, static_cast<char32_t>(0xFF61 + (code - 0xA1)));
    return;
  }
  if (encoding == SourceEncoding::EucJp) out += static_cast<char>(0x8E);
  out += static_cast<char>(code);
}

}  // namespace quillmark::bench
