// The main window (template 102): the folder edit, the search and stop
// buttons with the status field, the result list and the log pane. The
// window holds the stores the two views show: the findings of the last
// search and the log. A search walks on a thread of its own and the window
// takes what it gives at the pace of its repaints.
#pragma once

#include <wx/dialog.h>
#include <wx/timer.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/finding_model.h"
#include "app/log_pane_view.h"
#include "app/log_text.h"
#include "app/search_thread.h"
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

class MainDialog final : public wxDialog {
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

  // Adds what a search gave to the log and the rows, and shows them: the
  // running search's batches come this way.
  void AppendSearchResults(SearchBatch batch);

  // Opens the first selected row's file in the user's editor at its line.
  void LaunchEditor();

  // From the click on 検索 until the outcome box is closed.
  bool IsBusy() const;
  // The search root as the last search trimmed it: the base of the rows'
  // paths.
  const std::string& GetRootPath() const { return rootPath_; }
  // The whole log, as one string (made when asked for).
  const std::string& GetLogText() const { return logText_.Whole(); }
  const FindingModel& GetFindings() const { return findings_; }
  // Runs on the search thread after each report of the searches to come.
  void SetReportObserver(SearchThread::ReportObserver observer) { reportObserver_ = std::move(observer); }
  // Sees each search's options, as the settings made them, just before
  // its walk starts.
  using OptionsObserver = std::function<void(const engine::SearchOptions&)>;
  void SetOptionsObserver(OptionsObserver observer) { optionsObserver_ = std::move(observer); }
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
  void StartSearch();
  void OnResultsTimer(wxTimerEvent& event);
  void OnSearchEnded(unsigned serial);
  // Stops the running search, if any, and waits for its thread; what it
  // gave is kept, and no outcome is shown.
  void StopSearchAndWait();
  void ReturnToIdle(bool flushLog);
  void ReportOutcome(bool completed, bool outOfMemory);

  // Result list and log pane.
  // Appends one line of the window's own to the log; the pane shows it at
  // its next refresh.
  void Trace(std::string_view line);
  void ShowLogEnd();
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
  FindingModel findings_;  // before the list, which shows it
  LogText logText_;
  LogLineRenderer logLines_;
  std::unique_ptr<editor::SettingsDialog> settingsDialog_;

  // The running search, from the click on 検索 until its outcome arrives.
  std::unique_ptr<SearchThread> search_;
  unsigned searchSerial_ = 0;  // tells a search's end from an earlier one's
  std::string searchEncodingName_;
  // The lexer of the search whose rows the list holds, for the saved forms.
  engine::Lexer rowsLexer_ = engine::Lexer::Line;
  SearchThread::ReportObserver reportObserver_;
  OptionsObserver optionsObserver_;
  // Takes the running search's batches: ten times a second looks live and
  // leaves the time to the search, since a refresh repaints the list and
  // lays out the log pane.
  wxTimer resultsTimer_;

  LogPaneView logView_;
  bool logPaneEdited_ = false;    // the user typed into the pane since its refresh
  bool updatingLogPane_ = false;  // the pane's text is being set by the program
  bool listReturnPending_ = false;  // Enter on the list: the activation that follows is no double click
  FolderChooser folderChooser_;
  SaveFileChooser saveFileChooser_;
  MenuShower menuShower_;

  wxDECLARE_EVENT_TABLE();
};

}  // namespace quillmark::app
