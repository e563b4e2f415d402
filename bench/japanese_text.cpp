#include "bench/japanese_text.h"

namespace quillmark::bench {

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
  if (encoding == SourceEncoding::EucJp) {
    out += static_cast<char>(character.row + 0xA0);
    out += static_cast<char>(character.cell + 0xA0);
    return;
  }
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

void AppendHalfWidthKatakana(std::string& out, SourceEncoding encoding, std::uint8_t code) {
  if (encoding == SourceEncoding::EucJp) out += static_cast<char>(0x8E);
  out += static_cast<char>(code);
}

}  // namespace quillmark::bench
