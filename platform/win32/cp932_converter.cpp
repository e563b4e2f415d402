#include "platform/cp932_converter.h"

#include <windows.h>

#include "platform/code_page.h"

namespace quillmark::platform {
namespace {

constexpr UINT kCp932 = 932;

// Windows' own meanings for these bytes are given by the caller on every
// system, so the table built from either converter agrees.
bool IsWindowsOnlyByte(unsigned char b) { return b == 0x80 || b == 0xA0 || b >= 0xFD; }
bool IsWindowsOnlyCodePoint(char32_t c) { return c == 0x80 || (c >= 0xF8F0 && c <= 0xF8F3); }

// CP932's one-way mappings: code points of JIS X 0208 and Latin-1 that
// the POSIX converter writes as the CP932 character standing for them, and
// that Windows refuses without a best fit. Both systems' tables hold them.
struct OneWay {
  char32_t codePoint;
  const char* bytes;
};
constexpr OneWay kOneWay[] = {
    {0x00A2, "\x81\x91"}, {0x00A3, "\x81\x92"}, {0x00A5, "\x5C"},     {0x00AC, "\x81\xCA"}, {0x2014, "\x81\x5C"},
    {0x2016, "\x81\x61"}, {0x203E, "\x7E"},     {0x2212, "\x81\x7C"}, {0x301C, "\x81\x60"},
};

}  // namespace

Cp932Converter::Cp932Converter() = default;
Cp932Converter::~Cp932Converter() = default;

bool Cp932Converter::Usable() const { return IsValidCodePage(kCp932) != 0; }

Cp932Answer Cp932Converter::Decode(std::string_view bytes, std::string& utf8) {
  const auto first = static_cast<unsigned char>(bytes[0]);
  if (bytes.size() == 1) {
    if (IsDBCSLeadByteEx(kCp932, first)) return Cp932Answer::kLeadByte;
    if (IsWindowsOnlyByte(first)) return Cp932Answer::kRefused;
  }
  // Strict, and one character at a time: in its lax mode a bad lead byte
  // takes the byte after it along.
  wchar_t wide[4];
  const int length = MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                                         wide, 4);
  if (length != 1) return Cp932Answer::kRefused;
  if (wide[0] >= 0xD800 && wide[0] <= 0xDFFF) return Cp932Answer::kRefused;
  utf8.clear();
  AppendUtf8(wide[0], utf8);
  return Cp932Answer::kCharacter;
}

bool Cp932Converter::Encode(char32_t codePoint, std::string& bytes) {
  if (codePoint > 0xFFFF || IsWindowsOnlyCodePoint(codePoint)) return false;
  for (const OneWay& oneWay : kOneWay) {
    if (oneWay.codePoint != codePoint) continue;
    bytes = oneWay.bytes;
    return true;
  }
  const wchar_t wide = static_cast<wchar_t>(codePoint);
  char encoded[4];
  BOOL usedDefault = FALSE;
  const int length = WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, &wide, 1, encoded, sizeof encoded, nullptr,
                                         &usedDefault);
  if (length <= 0 || length > 2 || usedDefault) return false;
  bytes.assign(encoded, static_cast<std::size_t>(length));
  return true;
}

}  // namespace quillmark::platform
