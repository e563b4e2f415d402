// The settings dialog (template 129): holds the five editor and search
// settings for the whole run and edits them in place.
#pragma once

#include "editor/editor_settings.h"

class wxWindow;

namespace quillmark::editor {

class SettingsDialog {
 public:
  // Runs the dialog modally over `parent`; true when it closed with OK, the
  // values then being what the user chose.
  bool RunModal(wxWindow* parent);

  EditorSettings values;
};

}  // namespace quillmark::editor
