// The search command: from the folder edit to the outcome box, the walk
// running on this thread with the window answering between folders.
#include <wx/button.h>
#include <wx/textctrl.h>

#include "app/main_dialog.h"
#include "app/message_box.h"
#include "app/result_list.h"
#include "app/settings.h"
#include "editor/settings_dialog.h"
#include "engine/search_setup.h"
#include "platform/process_limits.h"
#include "ui/end_dialog.h"

namespace quillmark::app {

void MainDialog::OnSearch(wxCommandEvent&) {
  // A click queued before the button was hidden must not nest a search.
  if (IsBusy()) return;

  // The root path changes only for a search that runs, so that it keeps
  // naming the root of the rows the list shows. A saved folder that is no
  // UTF-8 is searched by its bytes as long as the field was not edited.
  std::string root = engine::TrimRootPath(folderBytes_.Get(*folderEdit_));
  if (root.empty()) {
    ShowMessage("検索対象パスを入力してください", MessageIcon::Information);
    return;
  }
  rootPath_ = std::move(root);

  stopRequested_ = false;
  const auto closeIfAsked = [this] {
    if (!closeAfterSearch_) return;
    closeAfterSearch_ = false;
    ui::EndDialog(*this, 0);
  };
  EnterBusyState();
  try {
    RunSearch();
  } catch (...) {
    // Memory that ran short after the walk, say: the window must not stay
    // busy, with no button left to search again.
    ReturnToIdle(false);
    closeIfAsked();
    throw;
  }
  closeIfAsked();
}

void MainDialog::RunSearch() {
  const editor::EditorSettings& settings = settingsDialog_->values;
  std::vector<std::string> extensions = engine::BuildExtensionList(settings.fileExt);
  std::unique_ptr<engine::SourceFinder> finder = engine::CreateSourceFinder(settings.encoding);
  if (!finder) {
    ShowMessage(engine::UnsupportedEncodingMessage(settings.encoding), MessageIcon::Warning);
    ReturnToIdle(false);
    return;
  }
  finder->SetHost(this);
  finder->SetExtensions(std::move(extensions));
  // Files are scanned ahead on every processor; the rows and the log come
  // in the same order, on this thread, as from a walk on one.
  finder->SetThreads(platform::ProcessorCount());
  const std::string encodingName = finder->GetEncodingName();

  SaveFinderRootPath(settingsPath_, rootPath_);
  Trace("********** 解析開始(" + encodingName + ") **********");
  statusField_->ChangeValue(wxString::FromUTF8("解析中(" + encodingName + ")..."));

  const bool completed = finder->Walk(rootPath_);
  const bool outOfMemory = finder->Failure().kind == engine::WalkFailure::Kind::OutOfMemory;
  // What the walk's last paced flush may have held back.
  ShowTraceAndRows();
  ReportOutcome(completed, outOfMemory, encodingName);
  ReturnToIdle(true);
}

void MainDialog::OnStop(wxCommandEvent&) { stopRequested_ = true; }

void MainDialog::EnterBusyState() {
  searchButton_->Hide();
  stopButton_->Show();
  searchButton_->Disable();
  Update();
  resultList_->DeleteAllRows();
  listRowsUnpainted_ = false;
  searching_ = true;
  logView_.SetLimit(LogPaneView::kSearchPaneLimit);
}

void MainDialog::ReturnToIdle(bool flushLog) {
  searching_ = false;
  logView_.SetLimit(LogPaneView::kDefaultPaneLimit);
  searchButton_->Enable();
  if (flushLog) FlushTrace();
  searchButton_->Show();
  stopButton_->Hide();
}

void MainDialog::ReportOutcome(bool completed, bool outOfMemory, const std::string& encodingName) {
  const std::string outcome = completed ? "解析完了" : "解析エラー";
  const std::string traceWord = completed ? "解析終了" : "解析エラー";
  statusField_->ChangeValue(wxString::FromUTF8(outcome + "(" + encodingName + ")."));
  Trace("********** " + traceWord + "(" + encodingName + ") **********");
  // A window closed during the search goes without the boxes.
  if (closeAfterSearch_) return;
  if (outOfMemory) ShowOutOfMemory();
  ShowMessage(outcome, MessageIcon::Information);
}

}  // namespace quillmark::app
