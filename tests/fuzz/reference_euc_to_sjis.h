// EUC-JP to Shift_JIS written the plain way, byte by byte, as the oracle
// that the engine's branch-free conversion is checked against.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillmark::fuzz {

inline bool IsEucLeadByte(std::uint8_t b) { return b == 0x8E || (b >= 0xA1 && b <= 0xFE); }

inline std::string ReferenceEucToShiftJis(std::string_view text) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto b = static_cast<std::uint8_t>(text[i]);
    if (!IsEucLeadByte(b) || i + 1 == text.size()) {
      out += static_cast<char>(b);
      i += 1;
      continue;
    }
    const auto t = static_cast<std::uint8_t>(text[i + 1]);
    i += 2;
    if (b == 0x8E) {
      out += static_cast<char>(t);
      continue;
    }
    std::uint8_t t2;
    if (b % 2 == 1) {
      t2 = static_cast<std::uint8_t>(t - 0x61);
      if (t2 > 0x7E) t2 = static_cast<std::uint8_t>(t - 0x60);
    } else {
      t2 = static_cast<std::uint8_t>(t - 2);
    }
    const auto h = static_cast<std::uint8_t>((b + 1) >> 1);
    const auto b2 = static_cast<std::uint8_t>(b < 0xDF ? h + 0x30 : h + 0x70);
    out += static_cast<char>(b2);
    out += static_cast<char>(t2);
  }
  return out;
}

}  // namespace quillmark::fuzz
