// A label drawn as a hyperlink that opens its own text, a web address, when
// the mouse button is pressed on it.
#pragma once

#include <wx/font.h>
#include <wx/window.h>

#include <functional>
#include <string>

namespace quillmark::app {

class LinkLabel final : public wxWindow {
 public:
  // Opens an address with the platform's handler.
  using Opener = std::function<void(const std::string& address)>;

  LinkLabel(wxWindow* parent, wxWindowID id, const wxString& address, const wxPoint& position, const wxSize& size);

  // Replaces how addresses are opened (the tests record them instead).
  void SetOpener(Opener opener) { opener_ = std::move(opener); }

  const wxFont& GetLinkFont() const { return linkFont_; }

  bool AcceptsFocus() const override { return false; }

 private:
  void OnPaint(wxPaintEvent& event);
  void OnLeftDown(wxMouseEvent& event);

  wxFont linkFont_;
  Opener opener_;

  wxDECLARE_EVENT_TABLE();
};

}  // namespace quillmark::app
