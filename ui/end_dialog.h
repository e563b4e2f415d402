// Ending a dialog the same way whether it runs modally or, as the test
// suites show it, without a modal run.
#pragma once

#include <wx/dialog.h>

namespace quillmark::ui {

// Ends the modal run with `result`, or hides a dialog shown without one,
// keeping `result` as its return code.
void EndDialog(wxDialog& dialog, int result);

}  // namespace quillmark::ui
