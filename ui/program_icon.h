// Icon 128: the program's icon in the sizes the window manager asks for.
#pragma once

#include <wx/icon.h>
#include <wx/iconbndl.h>

namespace quillmark::ui {

wxIconBundle ProgramIcons();

// The icon drawn at 16, 32 or 48 pixels (the nearest of those sizes).
wxIcon ProgramIcon(int pixels);

}  // namespace quillmark::ui
