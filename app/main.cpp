// quillmark: the desktop program.

#include "app/quillmark_app.h"

wxIMPLEMENT_APP(quillmark::app::QuillmarkApp);
