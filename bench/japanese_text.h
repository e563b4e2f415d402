// Japanese characters written straight as Shift_JIS, EUC-JP or UTF-8 bytes.
#pragma once

#include <cstdint>
#include <string>

#include "bench/random.h"

namespace quillmark::bench {

// Ascii stands for a file with no Japanese at all: the source writer puts
// English words where Japanese would go, and never asks for a character.
enum class SourceEncoding { ShiftJis, EucJp, Utf8, Ascii };

// A JIS X 0208 character by row and cell, both 1-based.
struct JisCharacter {
  std::uint8_t row = 0;
  std::uint8_t cell = 0;
};

// Mostly hiragana, then kanji of both levels, katakana and punctuation,
// in proportions like those of messages in source files.
JisCharacter RandomJisCharacter(Random& random);

void AppendJisCharacter(std::string& out, SourceEncoding encoding, JisCharacter character);

// A half-width katakana, `code` in 0xA1-0xDF: one byte in Shift_JIS, two
// (0x8E, code) in EUC-JP, three (U+FF61-U+FF9F) in UTF-8.
void AppendHalfWidthKatakana(std::string& out, SourceEncoding encoding, std::uint8_t code);

}  // namespace quillmark::bench
