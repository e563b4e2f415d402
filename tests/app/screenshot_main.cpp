// quillmark_screenshot FOLDER OUTPUT.png: shows the main window with a
// search of FOLDER done and a row selected, then saves the screen area of
// the window (with the window manager's frame, where one runs) through
// ImageMagick's import. Used by scripts/screenshot.sh under Xvfb.
#include <wx/app.h>
#include <wx/listctrl.h>
#include <wx/timer.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/main_dialog.h"
#include "app/message_box.h"
#include "res/resource_ids.h"
#include "tests/support/temp_tree.h"

namespace {

using quillmark::app::MainDialog;

class ScreenshotApp : public wxApp {
 public:
  bool OnInit() override {
    if (argc != 3) {
      std::fprintf(stderr, "usage: quillmark_screenshot FOLDER OUTPUT.png\n");
      return false;
    }
    folder_ = argv[1].utf8_string();
    output_ = argv[2].utf8_string();
    quillmark::app::ReplaceMessageBox([](const std::string&, quillmark::app::MessageIcon) {});

    dialog_ = new MainDialog(settings_.PathOf("quillmark.ini"));
    dialog_->Show();
    auto* folderEdit = dynamic_cast<wxTextCtrl*>(dialog_->FindWindow(quillmark::res::kFolderEdit));
    folderEdit->ChangeValue(wxString::FromUTF8(folder_));
    wxCommandEvent search(wxEVT_BUTTON, quillmark::res::kSearchButton);
    dialog_->FindWindow(quillmark::res::kSearchButton)->ProcessWindowEvent(search);

    // The search ends and the window manager maps and frames the window;
    // then a row is selected, and the window paints.
    timer_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
      if (!rowSelected_) {
        SelectRow();
        timer_.StartOnce(500);
        return;
      }
      Capture();
    });
    timer_.StartOnce(1000);
    return true;
  }

 private:
  void SelectRow() {
    auto* list = dynamic_cast<wxListCtrl*>(dialog_->FindWindow(quillmark::res::kResultList));
    if (list->GetItemCount() > 1) list->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    list->SetFocus();
    rowSelected_ = true;
  }
  void Capture() {
    const wxRect frame = dialog_->GetScreenRect();
    const std::string command = "import -window root -crop " + std::to_string(frame.width) + "x" +
                                std::to_string(frame.height) + "+" + std::to_string(frame.x) + "+" +
                                std::to_string(frame.y) + " '" + output_ + "'";
    status_ = std::system(command.c_str());
    dialog_->Destroy();
  }

  int OnExit() override { return status_ == 0 ? 0 : 1; }

  std::string folder_;
  std::string output_;
  quillmark::testing::TempTree settings_;
  MainDialog* dialog_ = nullptr;
  wxTimer timer_;
  bool rowSelected_ = false;
  int status_ = -1;
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(ScreenshotApp);

int main(int argc, char** argv) { return wxEntry(argc, argv); }
