// Shift_JIS: the encoding of the source files and of every displayed text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/byte_class_table.h"

namespace quillmark::engine {

class SjisEncoding {
 public:
  std::string GetName() const { return "SJIS-JP"; }

  bool IsLeadByte(std::uint8_t b) const { return kLeadBytes[b]; }

  // Half-width katakana 0xA1-0xDF, and 0xA0 with them.
  bool IsSingleByteJapanese(std::uint8_t b) const { return b >= 0xA0 && b <= 0xDF; }

  std::string ToShiftJis(const std::string& text) const { return text; }
  // The same into a caller's string, which keeps its capacity.
  void ToShiftJis(std::string_view text, std::string& out) const { out.assign(text); }

 private:
  static constexpr ByteClassTable kLeadBytes = MakeByteClassTable({{0x81, 0x9F}, {0xE0, 0xEF}, {0xFA, 0xFC}});
};

}  // namespace quillmark::engine
