// The text a C string literal stands for: its escapes read the way a
// compiler reads them, character by character of the file's encoding (the
// trail byte 0x5C of a Shift_JIS character is no backslash), then given in
// UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/finding.h"

namespace quillmark::report {

struct LiteralText {
  // The text in UTF-8; empty when UTF-8 cannot carry it.
  std::optional<std::string> utf8;
  // When `utf8` is empty, why, as a phrase: "a NUL character", ...
  std::string_view unreadable;
};

// Reads `content`, the bytes between the quotes in `encoding`: \n \t \r \a
// \b \f \v \\ \" \' \?, octal \ooo, hex \xhh..., \uXXXX and \UXXXXXXXX;
// any other escaped character stands for itself (\q is q). Octal and hex
// escapes are bytes in the file's encoding, as the compiler would leave
// them. The text cannot be given when it holds a NUL, a byte that is no
// character of the encoding, an escape beyond a byte or a code point, or
// an escape missing its digits.
LiteralText ReadCEscapes(std::string_view content, engine::SourceEncoding encoding);

}  // namespace quillmark::report
