// Dialog template 102: the main window.
#pragma once

#include "res/dialog_template.h"

namespace quillmark::res {

const DialogTemplate& MainDialogTemplate();

}  // namespace quillmark::res
