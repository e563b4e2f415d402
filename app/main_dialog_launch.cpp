// The editor launch: the selected finding's file in the user's editor.
#include <wx/listctrl.h>

#include "app/main_dialog.h"
#include "app/message_box.h"
#include "app/result_list.h"
#include "editor/editor_command.h"
#include "editor/settings_dialog.h"
#include "platform/execute_program.h"
#include "report/finding_text.h"

namespace quillmark::app {

void MainDialog::LaunchEditor() {
  // The selection, never the row under the pointer.
  const long row = resultList_->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
  if (row < 0 || static_cast<std::size_t>(row) >= findings_.size()) return;

  // The path as the file system gives it, so that a name that is no valid
  // UTF-8 still reaches the editor; the root is the one of the search that
  // found the row, not the folder field as it stands now.
  const engine::Finding finding = findings_.At(static_cast<std::size_t>(row));
  const editor::EditorTarget target{report::LineText(finding), rootPath_, finding.path};
  const editor::EditorSettings& settings = settingsDialog_->values;
  const platform::ExecuteResult result =
      platform::StartProgram(editor::BuildEditorLaunch(settings.editorPath, settings.editorParam, target));
  if (!result.Started()) ShowMessage(platform::ExecuteErrorMessage(result.error), MessageIcon::Warning);
}

}  // namespace quillmark::app
