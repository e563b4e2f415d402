// What the literal scanner needs to know of an encoding, as plain data
// chosen at run time: which bytes open a character and how far it
// reaches, which characters are Japanese, how a comment's end is found and
// which encoding a finding's content is in.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/byte_class_table.h"
#include "engine/finding.h"
#include "engine/stop_bytes.h"

namespace quillmark::engine {

enum class CharacterForm {
  // A lead byte and the byte after it make a character, whatever that
  // byte is, even past the end of the text.
  LeadAndTrail,
  // A lead byte makes a character only when the continuation bytes its
  // value asks for follow within the text; it is an ordinary byte else.
  Utf8,
};

enum class CommentCloserSearch {
  ShiftJisCharacters,  // a closer counts only where it starts a Shift_JIS character
  PlainBytes,
};

struct EncodingRules {
  std::string_view name;  // the display name: "SJIS-JP", "EUC-JP", "UTF-8"
  SourceEncoding encoding;
  CharacterForm form;
  // Bytes that may open a character of more than one byte, and for Utf8
  // the bytes that a character needs in all, lead included.
  ByteClassTable leadBytes;
  std::uint8_t characterLength[256];
  // LeadAndTrail: the single bytes that are Japanese (every character of
  // two bytes is). Utf8 looks a character's code point up instead.
  ByteClassTable singleByteJapanese;
  CommentCloserSearch closerSearch;
  // Where the scan loops stop: in code, at lead bytes that hide the byte
  // after them, quotes, backslash and slash; in a literal, at bytes that
  // may be Japanese, quotes and backslash.
  StopBytes codeStops;
  StopBytes literalStops;
  // The C lexer's: in code, lead bytes that hide the byte after them,
  // quotes, backslash, slash and LF; in a literal, the literal stops and LF.
  StopBytesOf<5> lexerCodeStops;
  StopBytesOf<4> lexerLiteralStops;
};

const EncodingRules& ShiftJisRules();
const EncodingRules& EucJpRules();
const EncodingRules& Utf8Rules();

// How many bytes the character at `i` of `bytes` (i < n) covers.
inline std::size_t CharacterLength(const EncodingRules& rules, const std::uint8_t* bytes, std::size_t i,
                                   std::size_t n) {
  const std::size_t length = rules.characterLength[bytes[i]];
  if (rules.form == CharacterForm::LeadAndTrail || length == 1) return length;
  if (i + length > n) return 1;
  for (std::size_t k = 1; k < length; ++k)
    if ((bytes[i + k] & 0xC0) != 0x80) return 1;
  return length;
}

// Whether the character of `length` bytes at `bytes` is Japanese.
bool IsJapaneseCharacter(const EncodingRules& rules, const std::uint8_t* bytes, std::size_t length);

}  // namespace quillmark::engine
