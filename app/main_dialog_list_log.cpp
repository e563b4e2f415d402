// What the user does with the result list and the log pane.
#include <wx/textctrl.h>
#include <wx/utils.h>

#include "app/dump_line.h"
#include "app/main_dialog.h"
#include "app/result_list.h"

namespace quillmark::app {

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
  const std::size_t dumpStart = logText_.size();
  const int rowCount = resultList_->GetItemCount();
  Trace(kDumpStartLine);
  for (int row = 0; row < rowCount; ++row) {
    Trace(FormatDumpLine(resultList_->GetItemText(row, 2).utf8_string(), resultList_->GetItemText(row, 1).utf8_string(),
                         resultList_->GetItemText(row, 0).utf8_string()));
  }
  Trace(kDumpEndLine);
  ShowTraceAndRows();
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
  if (row < 0) return;
  resultList_->DeleteRow(row);
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
