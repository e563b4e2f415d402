// The one JSON string escaper of the report forms. JSON Lines and SARIF
// have always escaped control characters differently; each keeps its
// bytes by naming its escapes.
#pragma once

#include <string>
#include <string_view>

namespace quillmark::report {

struct JsonEscapes {
  // \n \r \t \b \f for those five, rather than \u00XX.
  bool shortForms = false;
  // U+007F as \u007F rather than as it is.
  bool deleteCharacter = false;
};

inline constexpr JsonEscapes kJsonLinesEscapes{};
inline constexpr JsonEscapes kSarifEscapes{true, true};

// Appends `utf8` as a quoted JSON string: '"' and '\' escaped, U+0000-
// U+001F as `escapes` says (\u00XX with upper-case digits by default),
// every other character as it is. The text must be valid UTF-8.
void AppendJsonString(std::string_view utf8, std::string& out, const JsonEscapes& escapes = kJsonLinesEscapes);

}  // namespace quillmark::report
