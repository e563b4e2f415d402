// One reported literal, and the findings of a search in discovery order.
#pragma once

#include <string>
#include <vector>

namespace quillmark::engine {

// Every field is a byte string in Shift_JIS, the display encoding.
struct Finding {
  std::string text;  // the literal's content, padded with spaces to 20 bytes
  std::string line;  // 1-based line number in decimal
  std::string path;  // relative to the search root, "/"-separated

  friend bool operator==(const Finding&, const Finding&) = default;
};

using FindingList = std::vector<Finding>;

// The minimum length of a finding's text; shorter content is padded.
inline constexpr std::size_t kFindingTextWidth = 20;

}  // namespace quillmark::engine
