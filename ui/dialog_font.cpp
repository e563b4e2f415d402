#include "ui/dialog_font.h"

#include <wx/fontenum.h>
#include <wx/settings.h>

#include <array>

namespace quillmark::ui {

wxFont DialogFont(const char* faceName, int points) {
  wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
  font.SetPointSize(points);

  const wxString face = wxString::FromUTF8(faceName);
  const bool japaneseSystemFace = face.Contains(wxString::FromUTF8("ゴシック"));
  const std::array<const char*, 2> candidates = {"IPAGothic", "Noto Sans CJK JP"};
  for (const char* candidate : candidates) {
    if (!japaneseSystemFace && face != candidate) continue;
    if (wxFontEnumerator::IsValidFacename(candidate)) {
      font.SetFaceName(candidate);
      return font;
    }
  }
  if (!japaneseSystemFace && wxFontEnumerator::IsValidFacename(face)) font.SetFaceName(face);
  return font;
}

}  // namespace quillmark::ui
