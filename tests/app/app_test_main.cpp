// Starts wxWidgets around the suite with the program's own application
// object, so that its event hooks are the ones under test. The GUI tests
// need an X display (CI runs them under xvfb-run); listing the tests does
// not.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>

#include <cstdio>
#include <cstring>

#include "app/quillmark_app.h"

namespace {

// A failed wx assertion fails the running test instead of opening a box.
void FailOnAssert(const wxString& file, int line, const wxString& function, const wxString& condition,
                  const wxString& message) {
  ADD_FAILURE_AT(file.utf8_string().c_str(), line)
      << "wx assertion " << condition.utf8_string() << " in " << function.utf8_string() << ": "
      << message.utf8_string();
}

bool OnlyListing(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--gtest_list_tests") == 0) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const bool onlyListing = OnlyListing(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  if (onlyListing) return RUN_ALL_TESTS();

  wxSetAssertHandler(FailOnAssert);
  // Its OnInit parses no command line and shows no window; OnRun is never
  // called.
  wxApp::SetInstance(new quillmark::app::QuillmarkApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
    std::fprintf(stderr, "app_tests: wxWidgets could not start; run under xvfb-run -a when there is no display\n");
    return 1;
  }
  const int result = RUN_ALL_TESTS();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return result;
}
