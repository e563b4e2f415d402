#include "ui/end_dialog.h"

namespace quillmark::ui {

void EndDialog(wxDialog& dialog, int result) {
  if (dialog.IsModal()) {
    dialog.EndModal(result);
  } else {
    dialog.SetReturnCode(result);
    dialog.Hide();
  }
}

}  // namespace quillmark::ui
