// One reported literal, and the findings of a search in discovery order, as
// plain data: how a front end shows them is report/'s business.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillmark::engine {

// The encoding a file was read in.
enum class SourceEncoding { ShiftJis, EucJp, Utf8 };

struct Finding {
  std::string content;      // the bytes between the quotes, as in the file
  std::int64_t line = 0;    // 1-based
  // 1-based: the characters of the line before the opening quote, as the
  // file's encoding reads them (a double-byte or UTF-8 character is one),
  // plus one.
  std::int64_t column = 0;
  std::string path;  // relative to the search root, "/"-separated
  SourceEncoding encoding = SourceEncoding::ShiftJis;
  char quote = '"';  // '"' for a string literal, '\'' for a character literal
  // What the C lexer reads besides (the line scanner leaves both empty):
  // the literal's prefix ("", "L", "u", "U" or "u8") and whether it is a
  // raw string, whose content may hold line breaks.
  std::string prefix;
  bool raw = false;

  friend bool operator==(const Finding&, const Finding&) = default;
};

using FindingList = std::vector<Finding>;

// The minimum length of a finding's shown text; shorter content is padded.
inline constexpr std::size_t kFindingTextWidth = 20;

}  // namespace quillmark::engine
