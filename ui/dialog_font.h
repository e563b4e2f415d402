// The font of a dialog template on this system.
#pragma once

#include <wx/font.h>

namespace quillmark::ui {

// The Japanese system faces map to IPAGothic, whose dialog-unit metrics are
// close to theirs, else to Noto Sans CJK JP, else to the default GUI font;
// never to a Chinese face, which would draw kanji in Chinese shapes.
wxFont DialogFont(const char* faceName, int points);

}  // namespace quillmark::ui
