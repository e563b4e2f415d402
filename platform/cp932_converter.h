// The system's own CP932 converter, asked one character at a time: iconv
// on POSIX, MultiByteToWideChar and WideCharToMultiByte on Windows. The
// tables of code_page.cpp are built from it once, so that both systems
// decode and encode alike and no call into the system is made per text.
#pragma once

#include <string>
#include <string_view>

namespace quillmark::platform {

enum class Cp932Answer {
  kCharacter,  // the bytes are exactly one character
  kLeadByte,   // one byte that waits for a trail
  kRefused,    // no character
};

class Cp932Converter {
 public:
  Cp932Converter();
  ~Cp932Converter();
  Cp932Converter(const Cp932Converter&) = delete;
  Cp932Converter& operator=(const Cp932Converter&) = delete;

  bool Usable() const;
  // One byte, or a lead byte and a trail; `utf8` is set for a character.
  // The five single bytes Windows gives meanings of its own (80, A0,
  // FD-FF) are refused here on every system.
  Cp932Answer Decode(std::string_view bytes, std::string& utf8);
  // The CP932 bytes of one BMP code point above U+007F, or false.
  bool Encode(char32_t codePoint, std::string& bytes);

 private:
  void* state_ = nullptr;
};

}  // namespace quillmark::platform
