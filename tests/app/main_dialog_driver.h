// Drives a real MainDialog through its controls: button clicks, keys on
// the result list and the window's close request, as the user would.
#pragma once

#include "engine/finding.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/textctrl.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/log_text.h"
#include "app/main_dialog.h"
#include "res/resource_ids.h"
#include "tests/support/slashed.h"

namespace quillmark::testing {

struct Row {
  std::string text;
  std::string line;
  std::string path;

  friend bool operator==(const Row&, const Row&) = default;
};

inline std::ostream& operator<<(std::ostream& out, const Row& row) {
  return out << "{\"" << row.text << "\", " << row.line << ", " << row.path << "}";
}

// Runs what the event loop holds once: the toolkit's events (timers,
// repaints) and wx's posted events (CallAfter, queued clicks). The suite
// runs no main loop of its own.
inline void DispatchEvents() {
  wxTheApp->Yield(true);
  wxTheApp->ProcessPendingEvents();
}

// Dispatches events until `done` holds, or `limit` has passed (a hung
// search fails the test instead of hanging it). True when `done` held.
template <class Condition>
bool DispatchUntil(Condition done, std::chrono::seconds limit = std::chrono::seconds(120)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    DispatchEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

class MainDialogDriver {
 public:
  explicit MainDialogDriver(const std::string& settingsPath) : dialog(settingsPath) { dialog.Show(); }

  template <class Control>
  Control& Get(int id) {
    return *dynamic_cast<Control*>(dialog.FindWindow(id));
  }
  wxButton& Button(int id) { return Get<wxButton>(id); }
  wxTextCtrl& Text(int id) { return Get<wxTextCtrl>(id); }
  wxListCtrl& List() { return Get<wxListCtrl>(res::kResultList); }

  void Click(int id) {
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(&Button(id));
    Button(id).ProcessWindowEvent(click);
  }
  // The click waits in the queue until a message pump delivers it.
  void QueueClick(int id) {
    auto* click = new wxCommandEvent(wxEVT_BUTTON, id);
    click->SetEventObject(&Button(id));
    Button(id).GetEventHandler()->QueueEvent(click);
  }
  void PressListKey(int keyCode) {
    wxListEvent key(wxEVT_LIST_KEY_DOWN, res::kResultList);
    key.SetKeyCode(keyCode);
    key.SetEventObject(&List());
    List().ProcessWindowEvent(key);
  }
  void PressDialogKey(int keyCode) {
    wxKeyEvent key(wxEVT_CHAR_HOOK);
    key.m_keyCode = keyCode;
    key.SetEventObject(&dialog);
    dialog.ProcessWindowEvent(key);
  }

  void SetFolder(const std::string& folder) { Text(res::kFolderEdit).ChangeValue(wxString::FromUTF8(folder)); }
  // Clicks 検索 and returns at once, the search running.
  void StartSearch(const std::string& folder) {
    SetFolder(folder);
    Click(res::kSearchButton);
  }
  // Dispatches events until the search is over: its outcome shown, or the
  // window closed.
  void WaitForSearch() {
    EXPECT_TRUE(DispatchUntil([this] { return !dialog.IsBusy() || !dialog.IsShown(); }))
        << "the search did not end";
  }
  // A search from the click on 検索 to the window's return to idle.
  void Search(const std::string& folder) {
    StartSearch(folder);
    WaitForSearch();
  }

  // At the first report of the walk whose log lines hold `marker`, posts
  // `action` to the event thread, and holds the walk there until the
  // action has asked it to stop: what the walk gives after that point is
  // known, whatever the threads' timing.
  void StopAtReport(const std::string& marker, std::function<void()> action) { AtReport(marker, std::move(action), true); }
  // The same without holding the walk.
  void ActAtReport(const std::string& marker, std::function<void()> action) { AtReport(marker, std::move(action), false); }

  // Rows and log lines as a search hands them to the window.
  void AddFindings(const std::vector<engine::Finding>& findings) {
    app::SearchBatch batch;
    for (const engine::Finding& finding : findings) batch.findings.Append(finding);
    dialog.AppendSearchResults(std::move(batch));
  }
  void AddFinding(const engine::Finding& finding) { AddFindings({finding}); }
  // Each line converted as the search thread converts it.
  void AddLogLines(const std::vector<std::string>& lines) {
    app::SearchBatch batch;
    for (const std::string& line : lines) app::AppendLogLine(line, batch.log);
    dialog.AppendSearchResults(std::move(batch));
  }

  std::string Status() { return Text(res::kStatusField).GetValue().utf8_string(); }
  std::string LogPane() { return Text(res::kLogPane).GetValue().utf8_string(); }
  // Paths with the system's separator written "/".
  std::vector<Row> Rows() {
    std::vector<Row> rows;
    for (int row = 0; row < List().GetItemCount(); ++row) {
      rows.push_back({List().GetItemText(row, 0).utf8_string(), List().GetItemText(row, 1).utf8_string(),
                      Slashed(List().GetItemText(row, 2).utf8_string())});
    }
    return rows;
  }
  long SelectedRow() { return List().GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); }
  void SelectRow(long row) {
    List().SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                        wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
  }

  app::MainDialog dialog;

 private:
  void AtReport(const std::string& marker, std::function<void()> action, bool holdUntilStopped) {
    auto fired = std::make_shared<std::atomic<bool>>(false);
    dialog.SetReportObserver([this, marker, action, holdUntilStopped, fired](const engine::FileReport& report,
                                                                              std::stop_token stop) {
      if (fired->load() || Slashed(report.trace).find(marker) == std::string::npos) return;
      fired->store(true);
      dialog.CallAfter(action);
      if (!holdUntilStopped) return;
      const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
      while (!stop.stop_requested() && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    });
  }
};

// Literal bytes as a source file in Shift_JIS holds them, and their text.
inline constexpr const char* kSjisNihon = "\x93\xfa\x96\x7b";          // 日本
inline constexpr const char* kSjisTesuto = "\x83\x65\x83\x58\x83\x67";  // テスト

// `text` padded with spaces to the 20 bytes of a finding's Shift_JIS text,
// given the byte count it has in Shift_JIS.
// A finding as the engine hands it over: `content` as in the file.
inline engine::Finding Found(std::string content, std::int64_t line, std::string path,
                             engine::SourceEncoding encoding = engine::SourceEncoding::ShiftJis) {
  engine::Finding finding;
  finding.content = std::move(content);
  finding.line = line;
  finding.column = 1;
  finding.path = std::move(path);
  finding.encoding = encoding;
  return finding;
}

inline std::string Padded(const std::string& text, std::size_t sjisBytes) {
  return text + std::string(sjisBytes < 20 ? 20 - sjisBytes : 0, ' ');
}

}  // namespace quillmark::testing
