#include "report/json_string.h"

namespace quillmark::report {
namespace {

char ShortForm(char c) {
  switch (c) {
    case '\n': return 'n';
    case '\r': return 'r';
    case '\t': return 't';
    case '\b': return 'b';
    case '\f': return 'f';
    default: return 0;
  }
}

}  // namespace

void AppendJsonString(std::string_view utf8, std::string& out, const JsonEscapes& escapes) {
  static constexpr std::string_view kHex = "0123456789ABCDEF";
  out += '"';
  for (const char c : utf8) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (b < 0x20 || (b == 0x7F && escapes.deleteCharacter)) {
      if (const char letter = escapes.shortForms ? ShortForm(c) : 0) {
        out += '\\';
        out += letter;
        continue;
      }
      out += "\\u00";
      out += kHex[b >> 4];
      out += kHex[b & 15];
    } else {
      out += c;
    }
  }
  out += '"';
}

}  // namespace quillmark::report
