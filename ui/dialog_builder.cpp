#include "ui/dialog_builder.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/listctrl.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "ui/dialog_font.h"
#include "ui/program_icon.h"

namespace quillmark::ui {
namespace {

using res::ControlKind;
using res::ControlTemplate;

bool Has(const ControlTemplate& control, res::ControlStyle style) { return (control.styles & style) != 0; }

wxWindow* MakeEdit(wxWindow* parent, const ControlTemplate& control, wxPoint position, wxSize size) {
  long style = 0;
  if (Has(control, res::kMultiline)) {
    style |= wxTE_MULTILINE;
    if (Has(control, res::kHorizontalScroll)) style |= wxTE_DONTWRAP | wxHSCROLL;
    if (Has(control, res::kVerticalScroll)) style |= wxVSCROLL;
  }
  if (Has(control, res::kReadOnly)) style |= wxTE_READONLY;
  return new wxTextCtrl(parent, control.id, wxString::FromUTF8(control.text), position, size, style);
}

wxWindow* MakeLabel(wxWindow* parent, const ControlTemplate& control, wxPoint position, wxSize size) {
  const long style = wxST_NO_AUTORESIZE | (Has(control, res::kAlignRight) ? wxALIGN_RIGHT : wxALIGN_LEFT);
  auto* label = new wxStaticText(parent, control.id, wxString(), position, size, style);
  const wxString text = wxString::FromUTF8(control.text);
  if (Has(control, res::kNoPrefix)) {
    label->SetLabelText(text);
  } else {
    label->SetLabel(text);
  }
  if (Has(control, res::kCenterVertically)) {
    const int textHeight = label->GetBestSize().y;
    if (textHeight < size.y) label->SetSize(position.x, position.y + (size.y - textHeight) / 2, size.x, textHeight);
  }
  return label;
}

wxWindow* MakeListView(wxWindow* parent, const ControlTemplate& control, wxPoint position, wxSize size) {
  return new wxListCtrl(parent, control.id, position, size, ListViewStyle(control));
}

wxWindow* MakeIcon(wxWindow* parent, const ControlTemplate& control, wxPoint position, wxSize size) {
  const wxIcon icon = ProgramIcon(32);
  // Drawn at its own size in the rectangle's top-left corner, as a static
  // icon is.
  return new wxStaticBitmap(parent, control.id, icon, position, wxSize(std::max(size.x, icon.GetWidth()),
                                                                     std::max(size.y, icon.GetHeight())));
}

wxWindow* MakeComboBox(wxWindow* parent, const ControlTemplate& control, wxPoint position, wxSize size) {
  wxArrayString items;
  for (const char* item : control.items) items.Add(wxString::FromUTF8(item));
  const long style = Has(control, res::kDropDownList) ? wxCB_READONLY : wxCB_DROPDOWN;
  // The template's height is that of the dropped list; the box itself
  // keeps the height of one line.
  return new wxComboBox(parent, control.id, wxString(), position, wxSize(size.x, wxDefaultCoord), items, style);
}

wxWindow* MakeControl(wxWindow* parent, const ControlTemplate& control, wxPoint position, wxSize size) {
  switch (control.kind) {
    case ControlKind::PushButton:
      return new wxButton(parent, control.id, wxString::FromUTF8(control.text), position, size);
    case ControlKind::Edit:
      return MakeEdit(parent, control, position, size);
    case ControlKind::Label:
      return MakeLabel(parent, control, position, size);
    case ControlKind::ListView:
      return MakeListView(parent, control, position, size);
    case ControlKind::Icon:
      return MakeIcon(parent, control, position, size);
    case ControlKind::ComboBox:
      return MakeComboBox(parent, control, position, size);
    case ControlKind::CheckBox:
      return new wxCheckBox(parent, control.id, wxString::FromUTF8(control.text), position, size);
  }
  return nullptr;
}

}  // namespace

long ListViewStyle(const res::ControlTemplate& control) {
  long style = wxBORDER_SUNKEN;
  style |= Has(control, res::kReportView) ? wxLC_REPORT : wxLC_LIST;
  if (Has(control, res::kSingleSelection)) style |= wxLC_SINGLE_SEL;
  if (Has(control, res::kNoSortHeader)) style |= wxLC_NO_SORT_HEADER;
  return style;
}

void BuildDialog(wxDialog& dialog, const res::DialogTemplate& dialogTemplate, const ControlFactory& factory) {
  // Dialog units come from the font, so the font goes first.
  dialog.SetFont(DialogFont(dialogTemplate.fontFace, dialogTemplate.fontPoints));
  dialog.SetTitle(wxString::FromUTF8(dialogTemplate.title));

  for (const ControlTemplate& control : dialogTemplate.controls) {
    const res::DialogRect& rect = control.rect;
    const wxPoint position = dialog.ConvertDialogToPixels(wxPoint(rect.x, rect.y));
    const wxSize size = dialog.ConvertDialogToPixels(wxSize(rect.width, rect.height));
    wxWindow* window = factory ? factory(&dialog, control, position, size) : nullptr;
    if (window == nullptr) window = MakeControl(&dialog, control, position, size);
    if (Has(control, res::kHidden)) window->Hide();
    if (Has(control, res::kDisabled)) window->Disable();
    if (Has(control, res::kDefaultButton)) {
      if (auto* button = dynamic_cast<wxButton*>(window)) button->SetDefault();
    }
  }

  const wxSize clientSize = dialog.ConvertDialogToPixels(wxSize(dialogTemplate.width, dialogTemplate.height));
  dialog.SetClientSize(clientSize);
  const wxSize fixed = dialog.GetSize();
  dialog.SetSizeHints(fixed, fixed);
}

}  // namespace quillmark::ui
