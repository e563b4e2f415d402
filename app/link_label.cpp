#include "app/link_label.h"

#include <wx/dcclient.h>
#include <wx/utils.h>

namespace quillmark::app {

wxBEGIN_EVENT_TABLE(LinkLabel, wxWindow)
  EVT_PAINT(LinkLabel::OnPaint)
  EVT_LEFT_DOWN(LinkLabel::OnLeftDown)
wxEND_EVENT_TABLE()

LinkLabel::LinkLabel(wxWindow* parent, wxWindowID id, const wxString& address, const wxPoint& position,
                     const wxSize& size)
    : opener_([](const std::string& address) { wxLaunchDefaultBrowser(wxString::FromUTF8(address)); }) {
  // The dialog's background shows through where the platform allows it;
  // this has to be chosen before the window exists.
  if (parent->IsTransparentBackgroundSupported()) SetBackgroundStyle(wxBG_STYLE_TRANSPARENT);
  Create(parent, id, position, size, wxBORDER_NONE);
  SetLabel(address);
  // The dialog's own font, made bold, italic and underlined.
  linkFont_ = parent->GetFont();
  linkFont_.SetWeight(wxFONTWEIGHT_BOLD);
  linkFont_.SetStyle(wxFONTSTYLE_ITALIC);
  linkFont_.SetUnderlined(true);
  SetFont(linkFont_);
  SetForegroundColour(wxColour(0, 0, 255));
}

void LinkLabel::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  dc.SetFont(linkFont_);
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  dc.SetTextForeground(wxColour(0, 0, 255));
  dc.DrawText(GetLabel(), 0, 0);
}

void LinkLabel::OnLeftDown(wxMouseEvent& event) {
  const wxString address = GetLabel();
  if (!address.empty() && opener_) opener_(address.utf8_string());
  event.Skip();
}

}  // namespace quillmark::app
