// Positions in the native text control, which selections and the caret
// count in: GTK counts characters; a Windows edit control counts UTF-16
// units and holds each line break as CR LF.
#pragma once

#include <string_view>

namespace quillmark::app {

// The positions one byte of UTF-8 text adds.
constexpr long PanePositionsOf(unsigned char byte) {
  if ((byte & 0xC0) == 0x80) return 0;
#ifdef _WIN32
  if (byte == '\n' || byte >= 0xF0) return 2;
#endif
  return 1;
}

inline long PanePositionsOf(std::string_view utf8) {
  long count = 0;
  for (const unsigned char byte : utf8) count += PanePositionsOf(byte);
  return count;
}

}  // namespace quillmark::app
