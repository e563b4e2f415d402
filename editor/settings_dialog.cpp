#include "editor/settings_dialog.h"

namespace quillmark::editor {

// The dialog has no controls yet: it closes at once as if cancelled, so
// nothing is written and the values stay as loaded.
bool SettingsDialog::RunModal(wxWindow*) { return false; }

}  // namespace quillmark::editor
