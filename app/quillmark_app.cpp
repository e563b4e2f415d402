#include "app/quillmark_app.h"

#include "app/main_dialog.h"
#include "app/settings.h"
#include "platform/path.h"

namespace quillmark::app {

// The program has no command line of its own, so the framework's option
// parsing is left out.
bool QuillmarkApp::OnInit() {
  SetAppName("quillmark");
  // Where the current folder is gone, the relative name still means the
  // folder the program was started in (reads find nothing, writes fail),
  // never a file in "/".
  const std::optional<std::string> folder = platform::CurrentDirectory();
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

int QuillmarkApp::OnExit() {
  settingsPath_.clear();
  return wxApp::OnExit();
}

}  // namespace quillmark::app
