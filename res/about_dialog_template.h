// Dialog template 100: the About box.
#pragma once

#include "res/dialog_template.h"

namespace quillmark::res {

const DialogTemplate& AboutDialogTemplate();

}  // namespace quillmark::res
