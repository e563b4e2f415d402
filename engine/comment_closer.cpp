#include "engine/comment_closer.h"

#include <cstdint>
#include <cstring>

namespace quillmark::engine {
namespace {

bool IsShiftJisLeadByte(std::uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

}  // namespace

std::size_t FindCommentCloser(std::string_view text) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    const std::uint8_t b = bytes[i];
    if (b == '*' && i + 1 < n && bytes[i + 1] == '/') return i;
    i += IsShiftJisLeadByte(b) ? 2 : 1;
  }
  return std::string_view::npos;
}

}  // namespace quillmark::engine
