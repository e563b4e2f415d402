#include "ui/field_bytes.h"

#include <wx/textctrl.h>

#include <utility>

#include "platform/code_page.h"

namespace quillmark::ui {

void FieldBytes::Set(wxTextCtrl& field, std::string bytes) {
  const std::string text = platform::ToDisplayText(bytes);
  field.ChangeValue(wxString::FromUTF8(text.data(), text.size()));
  // As the control holds it, in case it altered the text on the way in.
  shown_ = field.GetValue();
  bytes_ = std::move(bytes);
}

std::string FieldBytes::Get(const wxTextCtrl& field) const {
  return Edited(field) ? field.GetValue().utf8_string() : bytes_;
}

bool FieldBytes::Edited(const wxTextCtrl& field) const { return field.GetValue() != shown_; }

}  // namespace quillmark::ui
