#include "ui/program_icon.h"

#include "res/icons/quillmark_16.xpm"
#include "res/icons/quillmark_32.xpm"
#include "res/icons/quillmark_48.xpm"

namespace quillmark::ui {

wxIcon ProgramIcon(int pixels) {
  if (pixels <= 16) return wxIcon(quillmark_16_xpm);
  if (pixels <= 32) return wxIcon(quillmark_32_xpm);
  return wxIcon(quillmark_48_xpm);
}

wxIconBundle ProgramIcons() {
  wxIconBundle icons;
  for (int pixels : {16, 32, 48}) icons.AddIcon(ProgramIcon(pixels));
  return icons;
}

}  // namespace quillmark::ui
