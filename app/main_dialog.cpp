#include "app/main_dialog.h"

#include <wx/button.h>
#include <cmath>
#include <wx/dirdlg.h>
#include <wx/filedlg.h>
#include <wx/listctrl.h>
#include <wx/textctrl.h>

#include "app/about_dialog.h"
#include "ui/dialog_builder.h"
#include "ui/end_dialog.h"
#include "ui/program_icon.h"
#include "app/result_list.h"
#include "app/settings.h"
#include "editor/settings_dialog.h"
#include "platform/path.h"
#include "res/main_dialog_template.h"
#include "res/resource_ids.h"

namespace quillmark::app {
namespace {

std::optional<std::string> ChooseFolderWithDialog(wxWindow* parent, const std::string& start) {
  wxDirDialog chooser(parent, wxString::FromUTF8("検索対象フォルダの指定"), wxString::FromUTF8(start),
                      wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
  if (chooser.ShowModal() != wxID_OK) return std::nullopt;
  return chooser.GetPath().utf8_string();
}

// The types in the order the save dialog offers them.
std::optional<MainDialog::SaveFileChoice> ChooseSaveFileWithDialog(wxWindow* parent) {
  wxFileDialog chooser(parent, wxString::FromUTF8("リストを保存"), wxString(), wxString(),
                       "CSV (*.csv)|*.csv|JSON Lines (*.jsonl)|*.jsonl|SARIF (*.sarif)|*.sarif|"
                       "gettext template (*.pot)|*.pot",
                       wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  if (chooser.ShowModal() != wxID_OK) return std::nullopt;
  return MainDialog::SaveFileChoice{chooser.GetPath().utf8_string(), chooser.GetFilterIndex()};
}

int ShowMenuAt(wxWindow* list, wxMenu& menu, const wxPoint& position) {
  return list->GetPopupMenuSelectionFromUser(menu, position);
}

}  // namespace

// In the order of the original message map.
wxBEGIN_EVENT_TABLE(MainDialog, wxDialog)
  EVT_BUTTON(res::kBrowseButton, MainDialog::OnBrowse)
  EVT_BUTTON(res::kSearchButton, MainDialog::OnSearch)
  EVT_BUTTON(res::kClearLogButton, MainDialog::OnClearLog)
  EVT_LIST_ITEM_ACTIVATED(res::kResultList, MainDialog::OnListDblClk)
  EVT_BUTTON(res::kSelectAllLogButton, MainDialog::OnSelectAllLog)
  EVT_BUTTON(res::kDumpListButton, MainDialog::OnDumpList)
  EVT_LIST_KEY_DOWN(res::kResultList, MainDialog::OnListKeyDown)
  EVT_BUTTON(res::kCloseButton, MainDialog::OnCloseButton)
  EVT_CLOSE(MainDialog::OnClose)
  EVT_BUTTON(res::kSettingsButton, MainDialog::OnSettings)
  EVT_BUTTON(res::kAboutButton, MainDialog::OnAbout)
  EVT_BUTTON(res::kStopButton, MainDialog::OnStop)
  EVT_TEXT(res::kLogPane, MainDialog::OnLogPaneText)
  EVT_LIST_ITEM_RIGHT_CLICK(res::kResultList, MainDialog::OnListRightClick)
wxEND_EVENT_TABLE()

MainDialog::MainDialog(std::string settingsPath)
    : settingsPath_(std::move(settingsPath)), settingsDialog_(std::make_unique<editor::SettingsDialog>()),
      folderChooser_(ChooseFolderWithDialog), saveFileChooser_(ChooseSaveFileWithDialog), menuShower_(ShowMenuAt) {
  const Settings settings = LoadSettings(settingsPath_);
  settingsDialog_->values = settings;
  rootPath_ = settings.finderRootPath;
  keepSavedFolder_ = !settings.complete;

  Create(nullptr, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX);
  BuildWindow();
  resultsTimer_.SetOwner(this);
  Bind(wxEVT_TIMER, &MainDialog::OnResultsTimer, this, resultsTimer_.GetId());
}

// A window destroyed during a search (the program ending) waits for the
// walk: the thread writes into the window's batch until it has ended.
MainDialog::~MainDialog() {
  resultsTimer_.Stop();
  search_.reset();
}

void MainDialog::BuildWindow() {
  ui::BuildDialog(*this, res::MainDialogTemplate(),
              [this](wxWindow* dialog, const res::ControlTemplate& control, wxPoint position, wxSize size) -> wxWindow* {
                if (control.id != res::kResultList) return nullptr;
                return new ResultList(dialog, control.id, position, size, ui::ListViewStyle(control), findings_);
              });
  searchButton_ = dynamic_cast<wxButton*>(FindWindow(res::kSearchButton));
  stopButton_ = dynamic_cast<wxButton*>(FindWindow(res::kStopButton));
  resultList_ = dynamic_cast<ResultList*>(FindWindow(res::kResultList));
  logPane_ = dynamic_cast<wxTextCtrl*>(FindWindow(res::kLogPane));
#ifdef __WXMSW__
  // A Windows edit control holds 30,000 characters unless told otherwise;
  // the log pane holds what its view gives it.
  logPane_->SetMaxLength(0);
#endif
  folderEdit_ = dynamic_cast<wxTextCtrl*>(FindWindow(res::kFolderEdit));
  statusField_ = dynamic_cast<wxTextCtrl*>(FindWindow(res::kStatusField));

  // Enter and Esc never end the window: there is no default button, and
  // no button stands for Esc.
  SetAffirmativeId(wxID_NONE);
  SetEscapeId(wxID_NONE);

  SetIcons(ui::ProgramIcons());
  folderBytes_.Set(*folderEdit_, rootPath_);

  // The window is laid out in dialog units, which grow with the font's
  // resolution (Xft.dpi, GDK_DPI_SCALE); the columns grow with them, keeping
  // their widths where a dialog unit is 1.5 pixels, as at 96 dpi.
  const double unitScale = ConvertDialogToPixels(wxSize(1000, 0)).x / 1500.0;
  const auto columnWidth = [&](int width) { return static_cast<int>(std::lround(FromDIP(width) * unitScale)); };
  resultList_->AppendColumn(wxString::FromUTF8("文字列"), wxLIST_FORMAT_LEFT, columnWidth(150));
  resultList_->AppendColumn("Line", wxLIST_FORMAT_LEFT, columnWidth(40));
  resultList_->AppendColumn(wxString::FromUTF8("ファイルパス"), wxLIST_FORMAT_LEFT, columnWidth(300));

  searchButton_->Show();
  stopButton_->Hide();
  CentreOnScreen();
}

bool MainDialog::IsBusy() const { return stopButton_->IsShown(); }

void MainDialog::OnBrowse(wxCommandEvent&) {
  std::string start = folderEdit_->GetValue().utf8_string();
  if (start.empty()) start = platform::CurrentDirectory().value_or("");
  // The choice goes into the edit only: the root path and the settings
  // file follow at the next search or close.
  if (std::optional<std::string> folder = folderChooser_(this, start)) folderBytes_.Set(*folderEdit_, *folder);
}

void MainDialog::OnCloseButton(wxCommandEvent&) {
  // A search is stopped, with no outcome box, before the window goes.
  if (IsBusy()) {
    StopSearchAndWait();
    ReturnToIdle(false);
  }
  ui::EndDialog(*this, 0);
}

void MainDialog::OnClose(wxCloseEvent&) {
  // Saved as it stands, untrimmed: the next start shows what was typed.
  const std::string folder = folderBytes_.Get(*folderEdit_);
  if (!keepSavedFolder_ || folderBytes_.Edited(*folderEdit_)) SaveFinderRootPath(settingsPath_, folder);
  if (IsBusy()) {
    // The root path stays the one of the rows the list shows.
    StopSearchAndWait();
    ReturnToIdle(false);
  } else {
    rootPath_ = folder;
  }
  ui::EndDialog(*this, 0);
}

void MainDialog::OnSettings(wxCommandEvent&) {
  if (settingsDialog_ && settingsDialog_->RunModal(this)) SaveSettings(settingsPath_, settingsDialog_->values);
}

void MainDialog::OnAbout(wxCommandEvent&) {
  AboutDialog about(this);
  about.ShowModal();
}

}  // namespace quillmark::app
