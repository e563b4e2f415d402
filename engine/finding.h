// One reported literal, and the findings of a search in discovery order.
#pragma once

#include <string>
#include <vector>

namespace quillmark::engine {

// The encoding a file was read in.
enum class SourceEncoding { ShiftJis, EucJp, Utf8 };

struct Finding {
  // The literal's content, padded with spaces to 20 bytes: in Shift_JIS,
  // the display encoding, or as written for a UTF-8 file.
  std::string text;
  std::string line;  // 1-based line number in decimal
  std::string path;  // relative to the search root, "/"-separated
  SourceEncoding encoding = SourceEncoding::ShiftJis;

  friend bool operator==(const Finding&, const Finding&) = default;
};

// Whether a finding's text is UTF-8 rather than Shift_JIS.
inline bool HasUtf8Text(const Finding& finding) { return finding.encoding == SourceEncoding::Utf8; }

using FindingList = std::vector<Finding>;

// The minimum length of a finding's text; shorter content is padded.
inline constexpr std::size_t kFindingTextWidth = 20;

}  // namespace quillmark::engine
