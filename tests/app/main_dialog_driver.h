// Drives a real MainDialog through its controls: button clicks, keys on
// the result list and the window's close request, as the user would.
#pragma once

#include "engine/finding.h"

#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/textctrl.h>

#include <string>
#include <vector>

#include "app/main_dialog.h"
#include "res/resource_ids.h"

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
  void Search(const std::string& folder) {
    SetFolder(folder);
    Click(res::kSearchButton);
  }

  std::string Status() { return Text(res::kStatusField).GetValue().utf8_string(); }
  std::string LogPane() { return Text(res::kLogPane).GetValue().utf8_string(); }
  std::vector<Row> Rows() {
    std::vector<Row> rows;
    for (int row = 0; row < List().GetItemCount(); ++row) {
      rows.push_back({List().GetItemText(row, 0).utf8_string(), List().GetItemText(row, 1).utf8_string(),
                      List().GetItemText(row, 2).utf8_string()});
    }
    return rows;
  }
  long SelectedRow() { return List().GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); }
  void SelectRow(long row) {
    List().SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                        wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
  }

  app::MainDialog dialog;
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
