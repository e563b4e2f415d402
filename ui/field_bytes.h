// Settings hold bytes, which need not be UTF-8 (a Shift_JIS folder name
// carried over from a Windows system, a value cut by the read limit inside
// a character), while a text field holds text. The bytes a field was given
// come back unchanged for as long as the user leaves its text as the
// program put it.
#pragma once

#include <wx/string.h>

#include <string>

class wxTextCtrl;

namespace quillmark::ui {

class FieldBytes {
 public:
  // Puts `bytes` into `field`, sending no change event: UTF-8 as it is,
  // anything else decoded as CP932 so that a Shift_JIS name reads right.
  void Set(wxTextCtrl& field, std::string bytes);

  // The bytes of the last Set while `field` still shows what Set put
  // there; the field's text in UTF-8 once the user has changed it.
  std::string Get(const wxTextCtrl& field) const;

  bool Edited(const wxTextCtrl& field) const;

 private:
  std::string bytes_;
  wxString shown_;
};

}  // namespace quillmark::ui
