// The application object: fixes where the settings file lives, runs the
// main window modally and ends the program when it closes.
#pragma once

#include <wx/app.h>

#include <string>

namespace quillmark::app {

class QuillmarkApp final : public wxApp {
 public:
  bool OnInit() override;
  int OnRun() override;
  int OnExit() override;

  // Lets the user interface react in the middle of a search: 100 passes,
  // each dispatching at most one pending event and then wx's own queue of
  // posted events. False when the event loop is ending (the window was
  // closed), which is the program's quit message.
  static bool PumpPendingMessages();

  const std::string& GetSettingsPath() const { return settingsPath_; }

 private:
  std::string settingsPath_;
};

}  // namespace quillmark::app
