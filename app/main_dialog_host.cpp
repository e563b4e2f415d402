// The engine's host: the log text and the result list as the walk fills
// them, the stop flag and the message pump.
#include <wx/textctrl.h>

#include "app/main_dialog.h"
#include "app/quillmark_app.h"
#include "app/result_list.h"
#include "platform/code_page.h"

namespace quillmark::app {

void MainDialog::Trace(std::string_view line) {
  // Shift_JIS literals read correctly this way, and EUC-JP ones look as
  // they would on a Shift_JIS system.
  if (platform::IsValidUtf8(line)) {
    logText_ += line;
  } else {
    logText_ += platform::Cp932ToUtf8(line);
  }
  logText_ += '\n';
}

void MainDialog::FlushTrace() {
  // During a search the engine flushes at every folder. Each refresh makes
  // the next pump repaint the pane and the list, which on GTK costs far
  // more than scanning a folder, so refreshes are paced; the search shows
  // everything once its walk has ended.
  if (searching_ && !flushPace_.TakeTurn()) return;
  ShowTraceAndRows();
}

void MainDialog::ShowTraceAndRows() {
  RefreshLogPane();
  // The caret goes to the end so that the pane shows the log's last lines.
  // The whole text is not selected as well: a GTK text view paints its
  // selection even without focus, which would highlight the whole log.
  const long end = logPane_->GetLastPosition();
  logPane_->SetInsertionPoint(end);
  logPane_->ShowPosition(end);
  // Rows that the pacing held back are painted with the log.
  if (listRowsUnpainted_) RepaintList();
}

void MainDialog::AddFinding(const engine::Finding& finding) {
  resultList_->AppendRow(finding);
  listRowsUnpainted_ = true;
  if (!searching_ || listRepaint_.TakeTurn()) RepaintList();
}

bool MainDialog::PumpMessages() { return QuillmarkApp::PumpPendingMessages(); }

void MainDialog::RepaintList() {
  resultList_->ShowNewRows();
  resultList_->Update();
  listRowsUnpainted_ = false;
}

}  // namespace quillmark::app
