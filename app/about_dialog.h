// The About box (template 100): icon, title line with the version, credits,
// contact and a link to the program's web page.
#pragma once

#include <wx/dialog.h>

#include <string>
#include <string_view>

namespace quillmark::app {

// `line` with whatever follows its "Version " replaced by `version`, so the
// box names the version the build was made as; unchanged without "Version ".
std::string WithVersion(std::string_view line, std::string_view version);

// The version the program was built as (the CMake project's).
const char* ProgramVersion();

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
