// Turns a dialog template into wx controls: the dialog gets the template's
// font, title and fixed size, and every control its place, converted from
// dialog units with that font.
#pragma once

#include <wx/dialog.h>

#include <functional>

#include "res/dialog_template.h"

namespace quillmark::ui {

// Makes a control itself when the template's kind is not enough (a class
// of the program's own); returns null to leave it to the builder.
using ControlFactory =
    std::function<wxWindow*(wxWindow* parent, const res::ControlTemplate& control, wxPoint position, wxSize size)>;

// The wx style of a list view of the template.
long ListViewStyle(const res::ControlTemplate& control);

// Builds every control of `dialogTemplate` on `dialog`, which must have
// been created without a size.
void BuildDialog(wxDialog& dialog, const res::DialogTemplate& dialogTemplate, const ControlFactory& factory = {});

}  // namespace quillmark::ui
