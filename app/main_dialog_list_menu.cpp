// The result list's context menu: the selected row to the clipboard, and
// the whole list into a file in one of the report forms.
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/menu.h>
#include <wx/utils.h>

#include "platform/save_file.h"
#include "app/main_dialog.h"
#include "app/message_box.h"
#include "app/result_list.h"
#include "platform/path.h"
#include "report/finding_lines.h"
#include "report/writer_factory.h"

namespace quillmark::app {
namespace {

// The save dialog offers the file types in the table's order; an index
// out of it saves CSV, the first.
std::unique_ptr<report::FormatWriter> MakeWriter(int typeIndex, const report::ReportContext& context) {
  const bool known = typeIndex >= 0 && static_cast<std::size_t>(typeIndex) < report::kReportFormats.size();
  return report::MakeFormatWriter(report::kReportFormats[known ? static_cast<std::size_t>(typeIndex) : 0].format,
                                  context);
}

}  // namespace

std::unique_ptr<wxMenu> MainDialog::MakeListMenu() const {
  auto menu = std::make_unique<wxMenu>();
  menu->Append(kCopyRowItem, wxString::FromUTF8("コピー"));
  menu->Append(kSaveListItem, wxString::FromUTF8("リストを保存..."));
  menu->Enable(kCopyRowItem, resultList_->GetSelectedItemCount() > 0);
  // During a search the list is still growing, and its summary would claim
  // a finished walk.
  menu->Enable(kSaveListItem, !IsBusy() && !findings_.empty());
  return menu;
}

void MainDialog::OnListRightClick(wxListEvent& event) {
  // This and the keys, not wxEVT_CONTEXT_MENU, which GTK raises on top of
  // it. On GTK one right click on a row also arrives once without a row
  // first; only the one with the row opens the menu.
  const long row = event.GetIndex();
  if (row < 0) return;
  // The row clicked is the one the menu acts on.
  if (!(resultList_->GetItemState(row, wxLIST_STATE_SELECTED) & wxLIST_STATE_SELECTED)) {
    for (long other = -1; (other = resultList_->GetNextItem(other, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) >= 0;) {
      resultList_->SetItemState(other, 0, wxLIST_STATE_SELECTED);
    }
    const long state = wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED;
    resultList_->SetItemState(row, state, state);
  }
  ShowListMenu(resultList_->ScreenToClient(wxGetMousePosition()));
}

void MainDialog::ShowListMenu(wxPoint position) {
  if (position == wxDefaultPosition) {
    // From the keyboard: under the selected row, not wherever the mouse is.
    const long row = resultList_->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
    wxRect rect;
    if (row >= 0 && resultList_->GetItemRect(row, rect)) position = rect.GetBottomLeft();
  }
  const std::unique_ptr<wxMenu> menu = MakeListMenu();
  const int chosen = menuShower_(resultList_, *menu, position);
  // A disabled item cannot be chosen; the checks guard a stale choice.
  if (chosen == kCopyRowItem && menu->IsEnabled(kCopyRowItem)) CopySelectedRow();
  if (chosen == kSaveListItem && menu->IsEnabled(kSaveListItem)) SaveList();
}

void MainDialog::CopySelectedRow() {
  const long selected = resultList_->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
  if (selected < 0 || static_cast<std::size_t>(selected) >= findings_.size()) return;
  const std::optional<engine::Finding> row = findings_.At(static_cast<std::size_t>(selected));
  if (!row) return;
  std::string line;
  report::AppendGrepLine(*row, {rootPath_}, line);
  wxClipboardLocker locker;
  if (!locker) {
    ShowMessage("クリップボードを開けません。", MessageIcon::Warning);
    return;
  }
  wxTheClipboard->SetData(new wxTextDataObject(wxString::FromUTF8(line)));
}

void MainDialog::SaveList() {
  const std::size_t rowCount = findings_.size();
  if (rowCount == 0) return;
  const std::optional<SaveFileChoice> choice = saveFileChooser_(this);
  if (!choice) return;

  report::ReportContext context{rootPath_, platform::MakeAbsolutePath(rootPath_).value_or(rootPath_),
                                QUILLMARK_VERSION};
  context.lexer = rowsLexer_;
  const std::unique_ptr<report::FormatWriter> writer = MakeWriter(choice->typeIndex, context);
  std::string bytes;
  writer->Begin(bytes);
  for (std::size_t row = 0; row < rowCount; ++row) {
    writer->AddFinding(findings_.At(row), bytes);
  }
  report::ScanSummary summary;
  summary.findings = rowCount;
  summary.completed = true;
  writer->End(summary, bytes);

  if (const std::optional<std::string> failure = platform::SaveFileAtomically(choice->path, bytes)) {
    ShowMessage("ファイルを保存できません。\n" + choice->path + "\n" + *failure, MessageIcon::Warning);
  }
}

}  // namespace quillmark::app
