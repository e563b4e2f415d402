// The About box (template 100): icon, title line with the version, credits,
// contact and a link to the program's web page.
#pragma once

#include <wx/dialog.h>

namespace quillmark::app {

class LinkLabel;

class AboutDialog final : public wxDialog {
 public:
  // Centred on `parent` when one is given, else on the screen.
  explicit AboutDialog(wxWindow* parent = nullptr);

  LinkLabel* GetLink() const { return link_; }

 private:
  LinkLabel* link_ = nullptr;
};

}  // namespace quillmark::app
