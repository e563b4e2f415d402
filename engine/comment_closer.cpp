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
  std::size_t from = 0;
  while (from + 1 < n) {
    const void* found = std::memchr(bytes + from, '*', n - 1 - from);
    if (found == nullptr) break;
    const std::size_t star = static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - bytes);
    if (bytes[star + 1] == '/') {
      // Stepping by characters from the start, the byte behind a run of
      // lead-range bytes always starts a character: the asterisk does too
      // when the run right before it pairs up evenly.
      std::size_t run = 0;
      while (run < star && IsShiftJisLeadByte(bytes[star - 1 - run])) ++run;
      if (run % 2 == 0) return star;
    }
    from = star + 1;
  }
  return std::string_view::npos;
}

}  // namespace quillmark::engine
