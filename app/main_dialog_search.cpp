// The search command: from the folder edit to the outcome box, the walk
// running on a thread of its own while the window takes what it finds.
#include <wx/button.h>
#include <wx/textctrl.h>

#include <new>

#include "app/main_dialog.h"
#include "app/message_box.h"
#include "app/result_list.h"
#include "app/settings.h"
#include "editor/settings_dialog.h"
#include "engine/search_setup.h"
#include "platform/process_limits.h"

namespace quillmark::app {
namespace {

constexpr int kResultsIntervalMs = 100;

}  // namespace

void MainDialog::OnSearch(wxCommandEvent&) {
  // A click queued before the button was hidden must not start a second
  // search.
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

  EnterBusyState();
  try {
    StartSearch();
  } catch (...) {
    // Memory that ran short before the walk started, say: the window must
    // not stay busy, with no button left to search again.
    StopSearchAndWait();
    ReturnToIdle(false);
    throw;
  }
}

void MainDialog::StartSearch() {
  // The search thread gets copies: settings changed during the search
  // apply from the next one.
  const editor::EditorSettings& settings = settingsDialog_->values;
  const std::optional<engine::SearchEncoding> encoding = engine::EncodingForSetting(settings.encoding);
  if (!encoding) {
    ShowMessage(engine::UnsupportedEncodingMessage(settings.encoding), MessageIcon::Warning);
    ReturnToIdle(false);
    return;
  }
  engine::SearchOptions options;
  options.root = rootPath_;
  options.encoding = *encoding;
  options.lexer = settings.cLexer ? engine::Lexer::C : engine::Lexer::Line;
  rowsLexer_ = options.lexer;
  options.extensions = engine::BuildExtensionList(settings.fileExt);
  // Files are scanned ahead on every processor; the rows and the log come
  // in the walk's order all the same.
  options.threads = platform::ProcessorCount();
  // Lines are converted for the log on the threads that scan.
  options.traceRenderer = &logLines_;
  searchEncodingName_ = std::string(encoding->name);

  SaveFinderRootPath(settingsPath_, rootPath_);
  Trace("********** 解析開始(" + searchEncodingName_ + ") **********");
  statusField_->ChangeValue(wxString::FromUTF8("解析中(" + searchEncodingName_ + ")..."));

  if (optionsObserver_) optionsObserver_(options);
  const unsigned serial = ++searchSerial_;
  search_ = std::make_unique<SearchThread>(
      std::move(options), [this, serial] { CallAfter([this, serial] { OnSearchEnded(serial); }); },
      reportObserver_);
  resultsTimer_.Start(kResultsIntervalMs);
}

void MainDialog::OnResultsTimer(wxTimerEvent&) {
  if (!search_) return;
  AppendSearchResults(search_->TakeBatch());
  // The thread could post no word of its end.
  if (search_->EndedUnannounced()) OnSearchEnded(searchSerial_);
}

void MainDialog::OnSearchEnded(unsigned serial) {
  // A search the window stopped and waited for on closing has no outcome.
  if (!search_ || serial != searchSerial_) return;
  resultsTimer_.Stop();
  const std::unique_ptr<SearchThread> search = std::move(search_);
  search->Join();
  try {
    AppendSearchResults(search->TakeBatch());
    ReportOutcome(search->Completed(), search->Failure().kind == engine::WalkFailure::Kind::OutOfMemory);
  } catch (const std::bad_alloc&) {
    // The outcome box found no memory: the window must not stay busy.
    ReturnToIdle(false);
    ShowOutOfMemory();
    return;
  } catch (...) {
    ReturnToIdle(false);
    throw;
  }
  ReturnToIdle(true);
}

void MainDialog::OnStop(wxCommandEvent&) {
  if (search_) search_->RequestStop();
}

void MainDialog::StopSearchAndWait() {
  resultsTimer_.Stop();
  if (!search_) return;
  search_->RequestStop();
  search_->Join();
  AppendSearchResults(search_->TakeBatch());
  search_.reset();
}

void MainDialog::EnterBusyState() {
  searchButton_->Hide();
  stopButton_->Show();
  searchButton_->Disable();
  Update();
  findings_.Clear();
  resultList_->RowsCleared();
  logView_.SetLimit(LogPaneView::kSearchPaneLimit);
}

void MainDialog::ReturnToIdle(bool flushLog) {
  logView_.SetLimit(LogPaneView::kDefaultPaneLimit);
  searchButton_->Enable();
  if (flushLog) ShowLogEnd();
  searchButton_->Show();
  stopButton_->Hide();
}

void MainDialog::ReportOutcome(bool completed, bool outOfMemory) {
  const std::string outcome = completed ? "解析完了" : "解析エラー";
  const std::string traceWord = completed ? "解析終了" : "解析エラー";
  statusField_->ChangeValue(wxString::FromUTF8(outcome + "(" + searchEncodingName_ + ")."));
  // The pane shows the line once the box is closed.
  Trace("********** " + traceWord + "(" + searchEncodingName_ + ") **********");
  if (outOfMemory) ShowOutOfMemory();
  ShowMessage(outcome, MessageIcon::Information);
}

}  // namespace quillmark::app
