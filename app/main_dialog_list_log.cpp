// The result list and the log pane: what a search adds to their stores,
// and what the user does with them.
#include <wx/textctrl.h>
#include <wx/utils.h>

#include "app/dump_line.h"
#include "app/main_dialog.h"
#include "app/result_list.h"
#include "platform/code_page.h"
#include "report/finding_text.h"

namespace quillmark::app {

void MainDialog::AppendSearchResults(SearchBatch batch) {
  if (!batch.findings.empty()) {
    findings_.Append(std::move(batch.findings));
    resultList_->ShowRows();
  }
  if (!batch.log.empty()) {
    logText_.AppendConverted(std::move(batch.log));
    ShowLogEnd();
  }
}

void MainDialog::Trace(std::string_view line) { logText_.AppendLine(line); }

void MainDialog::ShowLogEnd() {
  RefreshLogPane();
  // The caret goes to the end so that the pane shows the log's last lines.
  // The whole text is not selected as well: a GTK text view paints its
  // selection even without focus, which would highlight the whole log.
  const long end = logPane_->GetLastPosition();
  logPane_->SetInsertionPoint(end);
  logPane_->ShowPosition(end);
}

void MainDialog::RefreshLogPane() {
  const LogPaneView::Update update = logView_.Refresh(logText_, !logPaneEdited_);
  updatingLogPane_ = true;
  if (update.replace) {
    logPane_->ChangeValue(wxString::FromUTF8(update.text));
  } else if (!update.text.empty()) {
    logPane_->AppendText(wxString::FromUTF8(update.text));
  }
  updatingLogPane_ = false;
  logPaneEdited_ = false;
}

void MainDialog::OnLogPaneText(wxCommandEvent&) {
  if (!updatingLogPane_) logPaneEdited_ = true;
}

void MainDialog::OnClearLog(wxCommandEvent&) {
  updatingLogPane_ = true;
  logPane_->ChangeValue(wxString());
  updatingLogPane_ = false;
  logText_.Clear();
  logView_.Clear();
  logPaneEdited_ = false;
}

void MainDialog::OnSelectAllLog(wxCommandEvent&) {
  logPane_->SetSelection(-1, -1);
  logPane_->ShowPosition(logPane_->GetLastPosition());
  logPane_->SetFocus();
}

void MainDialog::OnDumpList(wxCommandEvent&) {
  // The rows as the list shows them; during a search, those it shows now.
  const std::size_t dumpStart = logText_.size();
  const std::size_t rowCount = findings_.size();
  Trace(kDumpStartLine);
  for (std::size_t row = 0; row < rowCount; ++row) {
    const engine::Finding finding = findings_.At(row);
    Trace(FormatDumpLine(platform::ToDisplayText(finding.path), report::LineText(finding),
                         report::DisplayText(finding)));
  }
  Trace(kDumpEndLine);
  ShowLogEnd();
  SelectLogFrom(dumpStart);
}

void MainDialog::SelectLogFrom(std::size_t offset) {
  const long last = logPane_->GetLastPosition();
  logPane_->SetSelection(logView_.PanePosition(logText_, offset), last);
  logPane_->ShowPosition(last);
  logPane_->SetFocus();
}

void MainDialog::OnListKeyDown(wxListEvent& event) {
  switch (event.GetKeyCode()) {
    case WXK_DELETE:
      DeleteSelectedRow();
      break;
    case 'E':
      LaunchEditor();
      break;
    case WXK_MENU:
      // Handled here and not passed on, so that GTK does not open it twice.
      ShowListMenu(wxDefaultPosition);
      return;
    case WXK_F10:
      // The list event carries no modifiers; the keyboard's state has them.
      if (wxGetKeyState(WXK_SHIFT)) {
        ShowListMenu(wxDefaultPosition);
        return;
      }
      break;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
      // Enter does nothing; the list would report it as an activation.
      listReturnPending_ = true;
      CallAfter([this] { listReturnPending_ = false; });
      break;
    default:
      break;
  }
  event.Skip();  // the list's own keys (arrows, paging) still work
}

void MainDialog::DeleteSelectedRow() {
  const long row = resultList_->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
  if (row < 0 || static_cast<std::size_t>(row) >= findings_.size()) return;
  findings_.Erase(static_cast<std::size_t>(row));
  resultList_->RowErased(row);
  if (row < resultList_->GetItemCount()) {
    const long state = wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED;
    resultList_->SetItemState(row, state, state);
  }
}

void MainDialog::OnListDblClk(wxListEvent&) {
  if (listReturnPending_) {
    listReturnPending_ = false;
    return;
  }
  LaunchEditor();
}

}  // namespace quillmark::app
