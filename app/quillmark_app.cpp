#include "app/quillmark_app.h"

#include <wx/uilocale.h>

#include <clocale>
#include <new>

#include "app/main_dialog.h"
#include "app/message_box.h"
#include "app/settings.h"
#include "platform/path.h"

namespace quillmark::app {

// The program has no command line of its own, so the framework's option
// parsing is left out.
bool QuillmarkApp::OnInit() {
  SetAppName("quillmark");
  // The user's locale from the environment, so that the toolkit's own
  // dialogs (the folder and file choosers) speak the user's language; the
  // program's texts are fixed. Numbers keep the C form: saved reports and
  // settings must read the same everywhere.
  wxUILocale::UseDefault();
  std::setlocale(LC_NUMERIC, "C");
  // Where the current folder is gone, the relative name still means the
  // folder the program was started in (reads find nothing, writes fail),
  // never a file in "/".
  const platform::Result<std::string> folder = platform::CurrentDirectory();
  settingsPath_ = folder ? SettingsFilePath(*folder) : std::string(kSettingsFileName);
  return true;
}

int QuillmarkApp::OnRun() {
  MainDialog dialog(settingsPath_);
  SetTopWindow(&dialog);
  dialog.ShowModal();
  SetTopWindow(nullptr);
  return 0;
}

void QuillmarkApp::CallEventHandler(wxEvtHandler* handler, wxEventFunctor& functor, wxEvent& event) const {
  try {
    wxApp::CallEventHandler(handler, functor, event);
  } catch (const std::bad_alloc&) {
    // The command's work is lost, the window and its data are not.
    ShowOutOfMemory();
  }
}

bool QuillmarkApp::OnExceptionInMainLoop() {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    ShowOutOfMemory();
    return true;
  } catch (...) {
    return wxApp::OnExceptionInMainLoop();
  }
}

int QuillmarkApp::OnExit() {
  settingsPath_.clear();
  return wxApp::OnExit();
}

}  // namespace quillmark::app
