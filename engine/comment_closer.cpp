#include "engine/comment_closer.h"

#include <cstdint>
#include <cstring>

#include "platform/code_page.h"

namespace quillmark::engine {

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
      // when the run right before it pairs up evenly. Every CP932 lead
      // byte counts here, F0-F9 included, unlike the scanner's narrower set.
      std::size_t run = 0;
      while (run < star && platform::IsShiftJisLeadByte(bytes[star - 1 - run])) ++run;
      if (run % 2 == 0) return star;
    }
    from = star + 1;
  }
  return std::string_view::npos;
}

}  // namespace quillmark::engine
