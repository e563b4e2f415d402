// Dialog template 129: the settings dialog.
#pragma once

#include "res/dialog_template.h"

namespace quillmark::res {

const DialogTemplate& SettingsDialogTemplate();

}  // namespace quillmark::res
