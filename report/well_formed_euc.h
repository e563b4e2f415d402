// EUC-JP that the Shift_JIS arithmetic maps one to one.
#pragma once

#include <string_view>

namespace quillmark::report {

// Every high byte is part of a two-byte character: 8E with a half-width
// katakana, or two bytes of A1-FE. Anything else (a stray lead or trail
// byte, a three-byte 8F character) the conversion would merge with a
// neighbour or change.
inline bool IsWellFormedEuc(std::string_view bytes) {
  const auto inRange = [](unsigned char b, unsigned char low, unsigned char high) { return b >= low && b <= high; };
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) continue;
    if (i + 1 == bytes.size()) return false;
    const auto t = static_cast<unsigned char>(bytes[++i]);
    if (b == 0x8E ? !inRange(t, 0xA1, 0xDF) : !(inRange(b, 0xA1, 0xFE) && inRange(t, 0xA1, 0xFE))) return false;
  }
  return true;
}

}  // namespace quillmark::report
