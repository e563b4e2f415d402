#include "app/about_dialog.h"

#include "ui/dialog_builder.h"
#include "app/link_label.h"
#include "ui/program_icon.h"
#include "res/about_dialog_template.h"
#include "res/resource_ids.h"

namespace quillmark::app {

AboutDialog::AboutDialog(wxWindow* parent) : wxDialog(parent, wxID_ANY, wxString()) {
  ui::BuildDialog(*this, res::AboutDialogTemplate(),
              [this](wxWindow* dialog, const res::ControlTemplate& control, wxPoint position, wxSize size) -> wxWindow* {
                if (control.id != res::kAboutLink) return nullptr;
                link_ = new LinkLabel(dialog, control.id, wxString::FromUTF8(control.text), position, size);
                return link_;
              });
  SetIcons(ui::ProgramIcons());
  // Template id 1 is the OK button: Enter presses it, Esc and the close box
  // end the box the same way.
  SetAffirmativeId(res::kAboutOkButton);
  SetEscapeId(res::kAboutOkButton);
  CentreOnParent();
}

}  // namespace quillmark::app
