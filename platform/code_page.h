// Conversion between the program's code page (UTF-8) and CP932, the
// Shift_JIS of Japanese Windows systems, through iconv.
#pragma once

#include <string>
#include <string_view>

namespace quillmark::platform {

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

bool IsValidUtf8(std::string_view bytes);

// `bytes` as they are when they are valid UTF-8, else decoded as CP932, so
// that Shift_JIS reads correctly and nothing is ever dropped: how a name or
// a value of unknown encoding is shown.
std::string ToDisplayText(std::string_view bytes);

}  // namespace quillmark::platform
