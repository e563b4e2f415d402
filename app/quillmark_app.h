// The application object: fixes where the settings file lives, runs the
// main window modally and ends the program when it closes. A lack of memory
// in a command is reported and the window goes on.
#pragma once

#include <wx/app.h>

#include <string>

namespace quillmark::app {

class QuillmarkApp final : public wxApp {
 public:
  bool OnInit() override;
  int OnRun() override;
  int OnExit() override;

  // Every event handler runs here: std::bad_alloc ends the handler with a
  // warning, and the event counts as handled.
  void CallEventHandler(wxEvtHandler* handler, wxEventFunctor& functor, wxEvent& event) const override;
  // What escapes elsewhere into the event loop: std::bad_alloc is reported
  // and the loop goes on; anything else is rethrown, ending the program.
  bool OnExceptionInMainLoop() override;

  const std::string& GetSettingsPath() const { return settingsPath_; }

 private:
  std::string settingsPath_;
};

}  // namespace quillmark::app
