#include "engine/euc_encoding.h"

namespace quillmark::engine {

std::string EucEncoding::ToShiftJis(const std::string& text) const {
  std::string out;
  out.reserve(text.size());
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n; ++i) {
    const auto b = static_cast<std::uint8_t>(text[i]);
    if (!IsLeadByte(b) || i + 1 == n) {
      out += static_cast<char>(b);
      continue;
    }
    const auto t = static_cast<std::uint8_t>(text[++i]);
    if (b == 0x8E) {
      out += static_cast<char>(t);
      continue;
    }
    std::uint8_t t2;
    if (b & 1) {
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

}  // namespace quillmark::engine
