#include "app/about_dialog.h"

#include <wx/stattext.h>

#include "ui/dialog_builder.h"
#include "app/link_label.h"
#include "ui/program_icon.h"
#include "res/about_dialog_template.h"
#include "res/resource_ids.h"

namespace quillmark::app {
namespace {

constexpr std::string_view kVersionWord = "Version ";

}  // namespace

std::string WithVersion(std::string_view line, std::string_view version) {
  const std::size_t at = line.rfind(kVersionWord);
  if (at == std::string_view::npos) return std::string(line);
  std::string result(line.substr(0, at + kVersionWord.size()));
  result += version;
  return result;
}

const char* ProgramVersion() { return QUILLMARK_VERSION; }

AboutDialog::AboutDialog(wxWindow* parent) : wxDialog(parent, wxID_ANY, wxString()) {
  ui::BuildDialog(*this, res::AboutDialogTemplate(),
              [this](wxWindow* dialog, const res::ControlTemplate& control, wxPoint position, wxSize size) -> wxWindow* {
                if (control.id != res::kAboutLink) return nullptr;
                link_ = new LinkLabel(dialog, control.id, wxString::FromUTF8(control.text), position, size);
                return link_;
              });
  // The template's title line carries a version of its own; the build's wins.
  for (wxWindow* child : GetChildren()) {
    auto* label = dynamic_cast<wxStaticText*>(child);
    if (label == nullptr) continue;
    const std::string text = label->GetLabelText().utf8_string();
    if (text.find(kVersionWord) == std::string::npos) continue;
    label->SetLabelText(wxString::FromUTF8(WithVersion(text, ProgramVersion())));
    break;
  }
  SetIcons(ui::ProgramIcons());
  // Template id 1 is the OK button: Enter presses it, Esc and the close box
  // end the box the same way.
  SetAffirmativeId(res::kAboutOkButton);
  SetEscapeId(res::kAboutOkButton);
  CentreOnParent();
}

}  // namespace quillmark::app
