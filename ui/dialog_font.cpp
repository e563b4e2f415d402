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
#ifdef _WIN32
  // A Japanese Windows has the template's own face; others have Meiryo or
  // Yu Gothic; wine here has IPAGothic.
  if (japaneseSystemFace && wxFontEnumerator::IsValidFacename(face)) {
    font.SetFaceName(face);
    return font;
  }
  const std::array<const char*, 4> candidates = {"Meiryo", "Yu Gothic", "IPAGothic", "Noto Sans CJK JP"};
#else
  const std::array<const char*, 2> candidates = {"IPAGothic", "Noto Sans CJK JP"};
#endif
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
