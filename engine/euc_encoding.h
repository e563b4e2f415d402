// EUC-JP: source files in the Unix encoding, shown in Shift_JIS.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/byte_class_table.h"
#include "platform/code_page.h"

namespace quillmark::engine {

class EucEncoding {
 public:
  std::string GetName() const { return std::string(platform::kEucJpNames.shown); }

  // 0x8E (half-width katakana prefix) and 0xA1-0xFE; 0x8F is not one.
  bool IsLeadByte(std::uint8_t b) const { return kLeadBytes[b]; }

  bool IsSingleByteJapanese(std::uint8_t) const { return false; }

  // EUC-JP to Shift_JIS: platform::EucJpToShiftJis.
  std::string ToShiftJis(const std::string& text) const;
  // The same into a caller's string, which keeps its capacity.
  void ToShiftJis(std::string_view text, std::string& out) const;

 private:
  static constexpr ByteClassTable kLeadBytes = MakeByteClassTable(platform::IsEucJpLeadByte);
};

}  // namespace quillmark::engine
