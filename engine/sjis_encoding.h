// Shift_JIS: the encoding of the source files and of every displayed text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/byte_class_table.h"
#include "platform/code_page.h"

namespace quillmark::engine {

class SjisEncoding {
 public:
  std::string GetName() const { return std::string(platform::kShiftJisNames.shown); }

  bool IsLeadByte(std::uint8_t b) const { return kLeadBytes[b]; }

  // Half-width katakana 0xA1-0xDF, and 0xA0 with them.
  bool IsSingleByteJapanese(std::uint8_t b) const { return b == 0xA0 || platform::IsHalfWidthKatakanaByte(b); }

  std::string ToShiftJis(const std::string& text) const { return text; }
  // The same into a caller's string, which keeps its capacity.
  void ToShiftJis(std::string_view text, std::string& out) const { out.assign(text); }

 private:
  // The scanner reads F0-F9, CP932's user-defined rows, as single bytes,
  // as it always has: where a literal ends, its column and its text follow
  // from that, so it narrows CP932's lead bytes on purpose. Detection, the
  // comment closer search and decoding take every CP932 lead byte.
  static constexpr ByteClassTable kLeadBytes = MakeByteClassTable(
      [](unsigned char b) { return platform::IsShiftJisLeadByte(b) && !(b >= 0xF0 && b <= 0xF9); });
};

}  // namespace quillmark::engine
