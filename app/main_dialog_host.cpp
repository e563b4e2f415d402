// The engine's host: the log text and the result list as the walk fills
// them, the stop flag and the message pump.
#include <wx/app.h>
#include <wx/textctrl.h>

#include "app/main_dialog.h"
#include "app/quillmark_app.h"
#include "app/result_list.h"

namespace quillmark::app {

void MainDialog::Trace(std::string_view line) { logText_.AppendLine(line); }

void MainDialog::FlushTrace() {
  // During a search the engine flushes at every folder. Each refresh makes
  // the next pump repaint the pane and the list, which on GTK costs far
  // more than scanning a folder, so refreshes are paced; the search shows
  // everything once its walk has ended.
  if (searching_ && !repaintPace_.TakeTurn()) return;
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
  if (!searching_) {
    RepaintList();
    return;
  }
  // A file can hold thousands of findings: the clock is read every few
  // dozen rows, which keeps the pace well under a millisecond off.
  constexpr unsigned kRowsPerPaceCheck = 32;
  if (++rowsSincePaceCheck_ < kRowsPerPaceCheck) return;
  rowsSincePaceCheck_ = 0;
  if (repaintPace_.TakeTurn()) RepaintList();
}

bool MainDialog::PumpMessages() {
  // The engine pumps between folders, thousands a second on a big tree.
  // Asking the display for events is a round trip to it each time: during
  // a search it is asked at most every few milliseconds, which no one can
  // tell from every time. wx's own posted events (CallAfter, queued
  // clicks) cost no round trip and are delivered at every pump.
  if (searching_ && !displayPace_.TakeTurn()) {
    constexpr int kPasses = 100;
    for (int pass = 0; pass < kPasses && wxTheApp != nullptr && wxTheApp->HasPendingEvents(); ++pass) {
      wxTheApp->ProcessPendingEvents();
    }
    return true;
  }
  return QuillmarkApp::PumpPendingMessages();
}

void MainDialog::RepaintList() {
  resultList_->ShowNewRows();
  resultList_->Update();
  listRowsUnpainted_ = false;
}

}  // namespace quillmark::app
