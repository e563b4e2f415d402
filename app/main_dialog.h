// The main window (template 102): the folder edit, the search and stop
// buttons with the status field, the result list, which is the only store
// of a search's findings, and the log pane. It is the engine's host.
#pragma once

#include <wx/dialog.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/log_pane_view.h"
#include "app/log_text.h"
#include "app/repaint_throttle.h"
#include "engine/finder_host.h"
#include "ui/field_bytes.h"

class wxButton;
class wxListEvent;
class wxMenu;
class wxTextCtrl;

namespace quillmark::editor {
class SettingsDialog;
}

namespace quillmark::app {

class ResultList;

class MainDialog final : public wxDialog, public engine::FinderHost {
 public:
  // Asks the user for a folder, starting at `start`; nothing when cancelled.
  using FolderChooser = std::function<std::optional<std::string>(wxWindow* parent, const std::string& start)>;

  // The file to save the result list into, and the type picked for it: an
  // index into kSaveFileTypes.
  struct SaveFileChoice {
    std::string path;
    int typeIndex = 0;
  };
  // Asks the user for a file to save the list into; nothing when cancelled.
  using SaveFileChooser = std::function<std::optional<SaveFileChoice>(wxWindow* parent)>;

  // Shows `menu` at `position` (client coordinates of `list`) and returns
  // the id of the item chosen, or wxID_NONE.
  using MenuShower = std::function<int(wxWindow* list, wxMenu& menu, const wxPoint& position)>;

  // The items of the result list's context menu.
  static constexpr int kCopyRowItem = wxID_HIGHEST + 1;
  static constexpr int kSaveListItem = wxID_HIGHEST + 2;

  // Loads the settings from `settingsPath`, which every later write uses.
  explicit MainDialog(std::string settingsPath);
  ~MainDialog() override;

  // engine::FinderHost
  void Trace(std::string_view line) override;
  // Lines made while scanning are converted for the log on the threads
  // that scan.
  const engine::TraceRenderer* GetTraceRenderer() const override { return &logLines_; }
  void AddRenderedTrace(std::string_view rendered) override { logText_.AppendConverted(rendered); }
  void FlushTrace() override;
  void AddFinding(const engine::Finding& finding) override;
  bool IsStopRequested() override { return stopRequested_; }
  std::string GetRootPath() override { return rootPath_; }
  bool PumpMessages() override;

  // Opens the first selected row's file in the user's editor at its line.
  void LaunchEditor();

  bool IsBusy() const;
  // The whole log, as one string (made when asked for).
  const std::string& GetLogText() const { return logText_.Whole(); }
  editor::SettingsDialog& GetSettingsDialog() { return *settingsDialog_; }
  void SetFolderChooser(FolderChooser chooser) { folderChooser_ = std::move(chooser); }
  void SetSaveFileChooser(SaveFileChooser chooser) { saveFileChooser_ = std::move(chooser); }
  void SetMenuShower(MenuShower shower) { menuShower_ = std::move(shower); }

  // The result list's context menu as it would open now, and its commands.
  std::unique_ptr<wxMenu> MakeListMenu() const;
  void CopySelectedRow();
  void SaveList();

 private:
  void BuildWindow();

  // Message map.
  void OnBrowse(wxCommandEvent& event);
  void OnSearch(wxCommandEvent& event);
  void OnClearLog(wxCommandEvent& event);
  void OnListDblClk(wxListEvent& event);
  void OnSelectAllLog(wxCommandEvent& event);
  void OnDumpList(wxCommandEvent& event);
  void OnListKeyDown(wxListEvent& event);
  void OnCloseButton(wxCommandEvent& event);
  void OnClose(wxCloseEvent& event);
  void OnSettings(wxCommandEvent& event);
  void OnAbout(wxCommandEvent& event);
  void OnStop(wxCommandEvent& event);
  void OnLogPaneText(wxCommandEvent& event);
  void OnListRightClick(wxListEvent& event);

  // Search command.
  void EnterBusyState();
  void RunSearch();
  void ReturnToIdle(bool flushLog);
  void ReportOutcome(bool completed, bool outOfMemory, const std::string& encodingName);

  // Result list and log pane.
  void ShowTraceAndRows();
  void RepaintList();
  void RefreshLogPane();
  void SelectLogFrom(std::size_t offset);
  void DeleteSelectedRow();
  void ShowListMenu(wxPoint position);

  wxButton* searchButton_ = nullptr;
  wxButton* stopButton_ = nullptr;
  ResultList* resultList_ = nullptr;
  wxTextCtrl* logPane_ = nullptr;
  wxTextCtrl* folderEdit_ = nullptr;
  wxTextCtrl* statusField_ = nullptr;

  std::string settingsPath_;
  std::string rootPath_;
  ui::FieldBytes folderBytes_;
  // The saved folder could not be read: a close leaves it saved unless the
  // user put another one into the field.
  bool keepSavedFolder_ = false;
  LogText logText_;
  LogLineRenderer logLines_;
  std::unique_ptr<editor::SettingsDialog> settingsDialog_;
  bool stopRequested_ = false;
  bool closeAfterSearch_ = false;

  LogPaneView logView_;
  bool logPaneEdited_ = false;    // the user typed into the pane since its refresh
  bool updatingLogPane_ = false;  // the pane's text is being set by the program
  // Between the busy state's start and end refreshes are paced: ten a
  // second look live, and leave the time to the search. One pace for the
  // rows and the log, since a repaint paints the whole window.
  bool searching_ = false;
  RepaintThrottle repaintPace_{std::chrono::milliseconds(100)};
  unsigned rowsSincePaceCheck_ = 0;
  RepaintThrottle displayPace_{std::chrono::milliseconds(5)};
  bool listRowsUnpainted_ = false;
  bool listReturnPending_ = false;  // Enter on the list: the activation that follows is no double click
  FolderChooser folderChooser_;
  SaveFileChooser saveFileChooser_;
  MenuShower menuShower_;

  wxDECLARE_EVENT_TABLE();
};

}  // namespace quillmark::app
