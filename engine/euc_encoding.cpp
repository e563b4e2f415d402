#include "engine/euc_encoding.h"

namespace quillmark::engine {

std::string EucEncoding::ToShiftJis(const std::string& text) const {
  std::string out;
  ToShiftJis(text, out);
  return out;
}

void EucEncoding::ToShiftJis(std::string_view text, std::string& out) const {
  // The result is never longer than the text.
  out.resize(text.size());
  const auto* in = reinterpret_cast<const std::uint8_t*>(text.data());
  auto* write = reinterpret_cast<std::uint8_t*>(out.data());
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t b = in[i];
    if (!IsLeadByte(b) || i + 1 == n) {
      *write++ = b;
      continue;
    }
    const std::uint8_t t = in[++i];
    if (b == 0x8E) {
      *write++ = t;
      continue;
    }
    // Odd rows: t - 0x61, or t - 0x60 where that is above 0x7E; even
    // rows: t - 2. Written without branches, which Japanese text defeats.
    const auto odd = static_cast<std::uint8_t>(t - 0x61);
    const auto oddTrail = static_cast<std::uint8_t>(odd + (odd > 0x7E ? 1 : 0));
    const auto t2 = (b & 1) ? oddTrail : static_cast<std::uint8_t>(t - 2);
    const auto h = static_cast<std::uint8_t>((b + 1) >> 1);
    *write++ = static_cast<std::uint8_t>(b < 0xDF ? h + 0x30 : h + 0x70);
    *write++ = t2;
  }
  out.resize(static_cast<std::size_t>(write - reinterpret_cast<std::uint8_t*>(out.data())));
}

}  // namespace quillmark::engine
