#include "app/message_box.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include <new>
#include <utility>

namespace quillmark::app {
namespace {

void ShowPlatformMessageBox(const std::string& text, MessageIcon icon) {
  MessageDialog dialog(nullptr, text, icon);
  dialog.ShowModal();
}

MessageBoxFunction& CurrentMessageBox() {
  static MessageBoxFunction function = ShowPlatformMessageBox;
  return function;
}

}  // namespace

MessageDialog::MessageDialog(wxWindow* parent, const std::string& text, MessageIcon icon)
    : wxDialog(parent, wxID_ANY, kMessageCaption, wxDefaultPosition, wxDefaultSize, wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX) {
  const wxArtID art = icon == MessageIcon::Warning ? wxART_WARNING : wxART_INFORMATION;
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->Add(new wxStaticBitmap(this, wxID_ANY, wxArtProvider::GetBitmapBundle(art, wxART_MESSAGE_BOX)), 0,
           wxALIGN_CENTER_VERTICAL | wxRIGHT, FromDIP(12));
  auto* label = new wxStaticText(this, wxID_ANY, wxString());
  label->SetLabelText(wxString::FromUTF8(text));
  row->Add(label, 1, wxALIGN_CENTER_VERTICAL);

  auto* ok = new wxButton(this, wxID_OK, "OK");
  ok->SetDefault();
  ok->SetFocus();
  auto* column = new wxBoxSizer(wxVERTICAL);
  column->Add(row, 1, wxEXPAND | wxALL, FromDIP(12));
  column->Add(ok, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(12));
  SetSizer(column);
  // OK, Enter, Esc and the close box all end the box alike.
  SetAffirmativeId(wxID_OK);
  SetEscapeId(wxID_OK);

  column->SetMinSize(wxSize(CaptionWidth() - (GetSize().x - GetClientSize().x), -1));
  Fit();
  CentreOnScreen();
}

int MessageDialog::CaptionWidth() const {
  // Title bars use a bold, somewhat larger face than the dialog's; measure
  // generously rather than let the caption be cut to "...".
  wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
  font.SetFractionalPointSize(font.GetFractionalPointSize() * 1.25);
  font.MakeBold();
  int captionText = 0;
  int height = 0;
  GetTextExtent(kMessageCaption, &captionText, &height, nullptr, nullptr, &font);
  // The window manager's menu, minimise, maximise and close buttons.
  const int buttons = 4 * FromDIP(32);
  return captionText + buttons + FromDIP(32);
}

void ShowMessage(const std::string& text, MessageIcon icon) { CurrentMessageBox()(text, icon); }

void ShowOutOfMemory() {
  try {
    ShowMessage(kOutOfMemory, MessageIcon::Warning);
  } catch (const std::bad_alloc&) {
  }
}

MessageBoxFunction ReplaceMessageBox(MessageBoxFunction function) {
  if (!function) function = ShowPlatformMessageBox;
  return std::exchange(CurrentMessageBox(), std::move(function));
}

}  // namespace quillmark::app
