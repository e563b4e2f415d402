// The program's text rules in one place: conversion between its code page
// (UTF-8), CP932 (the Shift_JIS of Japanese Windows systems, through
// iconv) and EUC-JP; the bytes of each encoding; and the encodings' names.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillmark::platform {

// One encoding's names: as the Encoding setting and --encoding spell it,
// and as the trace, the file counts and the reports show it.
struct EncodingNames {
  std::string_view setting;
  std::string_view shown;
};

// In the order the settings dialog lists them. AUTO, which chooses for
// each file, is shown by its setting.
inline constexpr std::array<EncodingNames, 4> kEncodingNames = {{
    {"SJIS", "SJIS-JP"},
    {"EUC", "EUC-JP"},
    {"UTF8", "UTF-8"},
    {"AUTO", "AUTO"},
}};
inline constexpr const EncodingNames& kShiftJisNames = kEncodingNames[0];
inline constexpr const EncodingNames& kEucJpNames = kEncodingNames[1];
inline constexpr const EncodingNames& kUtf8Names = kEncodingNames[2];
inline constexpr const EncodingNames& kPerFileNames = kEncodingNames[3];
// What AUTO shows for a file with no byte from 0x80 up; no setting names it.
inline constexpr std::string_view kAsciiName = "ASCII";

// Bytes that CP932 pairs with the byte after them.
constexpr bool IsShiftJisLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
// Bytes that may follow a lead byte in a CP932 pair.
constexpr bool IsShiftJisTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }
// The single-byte half-width katakana of Shift_JIS, and the byte after
// 0x8E that makes one in EUC-JP.
constexpr bool IsHalfWidthKatakanaByte(unsigned char b) { return b >= 0xA1 && b <= 0xDF; }
// Either byte of an EUC-JP character of JIS X 0208 (two bytes), and the
// last two of a JIS X 0212 one after 0x8F.
constexpr bool IsEucJpRowByte(unsigned char b) { return b >= 0xA1 && b <= 0xFE; }
inline constexpr unsigned char kEucJpKanaPrefix = 0x8E;
inline constexpr unsigned char kEucJpThreeBytePrefix = 0x8F;
// The bytes that open an EUC-JP character of two bytes; 0x8F opens three
// and is not one of them.
constexpr bool IsEucJpLeadByte(unsigned char b) { return b == kEucJpKanaPrefix || IsEucJpRowByte(b); }

// How many bytes a UTF-8 sequence opened by `lead` takes: 1 for ASCII, 2-4
// for C2-DF, E0-EF and F0-F4; 0 for a byte that opens none (a continuation
// byte, or C0, C1, F5-FF, which open only forms a strict decoder refuses).
constexpr std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// The code point of the `length` bytes at `bytes`, a sequence of the length
// its first byte opens; false when a byte after the first is no
// continuation byte, or for the forms a strict decoder refuses (overlong,
// surrogate, above U+10FFFF), which no code page writes.
inline bool DecodeUtf8Sequence(const unsigned char* bytes, std::size_t length, char32_t& codePoint) {
  static constexpr char32_t kLeadMask[5] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  static constexpr char32_t kMinimum[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (length == 0 || length > 4) return false;
  char32_t value = bytes[0] & kLeadMask[length];
  for (std::size_t k = 1; k < length; ++k) {
    if ((bytes[k] & 0xC0) != 0x80) return false;
    value = (value << 6) | (bytes[k] & 0x3F);
  }
  if (value < kMinimum[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
  codePoint = value;
  return true;
}

// Decodes CP932 bytes to UTF-8. Never fails and drops nothing:
// where iconv's CP932 table has no answer, 0x80, 0xA0 and 0xFD-0xFF decode
// as Windows decodes them (U+0080, U+F8F0-U+F8F3), and any other byte that
// begins no character becomes U+FFFD, decoding going on at the next byte.
std::string Cp932ToUtf8(std::string_view bytes);
// The same, appended to `out`.
void AppendCp932ToUtf8(std::string_view bytes, std::string& out);

// Appends the UTF-8 of CP932 `bytes` by iconv's table alone; false at the
// first byte that begins no character there (nothing stands in for it).
bool AppendCp932AsUtf8(std::string_view bytes, std::string& out);

// True when CP932 writes the code point as two bytes or as a half-width
// katakana (A1-DF), as iconv's CP932 converter does: the characters that
// ASCII cannot carry and a Japanese text can. That includes the private use
// code points E000-E757 of the user-defined area (F040-F9FC), and excludes
// those folded onto ASCII (U+00A5 -> 5C, U+203E -> 7E). Safe to call from
// any thread; the first call builds a table from iconv (a few ms).
bool IsCp932Japanese(char32_t codePoint);

// UTF-8 back to CP932, the five bytes that Cp932ToUtf8 gives Windows'
// meanings included: nothing when some character has no CP932 bytes.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

// EUC-JP to Shift_JIS by the JIS X 0208 arithmetic, into `out` (which
// keeps its capacity). Trail bytes are not checked; a lone lead byte at the
// end is kept as it is.
void EucJpToShiftJis(std::string_view euc, std::string& out);

// Every high byte is part of a two-byte character: 8E with a half-width
// katakana, or two bytes of A1-FE. Anything else (a stray lead or trail
// byte, a three-byte 8F character) EucJpToShiftJis would merge with a
// neighbour or change.
bool IsWellFormedEucJp(std::string_view bytes);

// Appends the UTF-8 of a code point (at most U+10FFFF, no surrogate).
void AppendUtf8(char32_t codePoint, std::string& out);

bool IsValidUtf8(std::string_view bytes);

// `bytes` as they are when they are valid UTF-8, else decoded as CP932, so
// that Shift_JIS reads correctly and nothing is ever dropped: how a name,
// a trace line or a value of unknown encoding is shown.
std::string ToDisplayText(std::string_view bytes);
// The same, appended to `out`.
void AppendDisplayText(std::string_view bytes, std::string& out);

}  // namespace quillmark::platform
