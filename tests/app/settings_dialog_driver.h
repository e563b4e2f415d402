// Drives the settings dialog of a MainDialogDriver's window: 設定 is
// clicked with the dialog's modal run replaced, so that the test acts on the
// open dialog as the user would and no modal loop ever runs.
#pragma once

#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/textctrl.h>

#include <functional>
#include <string>

#include "editor/settings_dialog.h"
#include "main_dialog_driver.h"
#include "res/resource_ids.h"

namespace quillmark::testing {

class SettingsDialogDriver {
 public:
  explicit SettingsDialogDriver(MainDialogDriver& window) : window_(window) {}

  editor::SettingsDialog& Dialog() { return window_.dialog.GetSettingsDialog(); }

  // Clicks 設定; `drive` then acts on the open dialog.
  void Open(const std::function<void()>& drive) {
    Dialog().SetModalRun([&drive](editor::SettingsDialog& dialog) {
      drive();
      return dialog.GetReturnCode();
    });
    window_.Click(res::kSettingsButton);
  }

  void Type(int fieldId, const std::string& text) {
    dynamic_cast<wxTextCtrl&>(*Dialog().FindWindow(fieldId)).ChangeValue(wxString::FromUTF8(text));
  }
  void Pick(int comboId, int item) {
    auto& combo = dynamic_cast<wxComboBox&>(*Dialog().FindWindow(comboId));
    combo.SetSelection(item);
    wxCommandEvent pick(wxEVT_COMBOBOX, comboId);
    pick.SetInt(item);
    pick.SetEventObject(&combo);
    combo.ProcessWindowEvent(pick);
  }
  void Tick(int checkId, bool ticked) {
    auto& check = dynamic_cast<wxCheckBox&>(*Dialog().FindWindow(checkId));
    check.SetValue(ticked);
    wxCommandEvent tick(wxEVT_CHECKBOX, checkId);
    tick.SetInt(ticked);
    tick.SetEventObject(&check);
    check.ProcessWindowEvent(tick);
  }
  bool Ticked(int checkId) { return dynamic_cast<wxCheckBox&>(*Dialog().FindWindow(checkId)).GetValue(); }
  void Press(int buttonId) {
    wxWindow& button = *Dialog().FindWindow(buttonId);
    wxCommandEvent click(wxEVT_BUTTON, buttonId);
    click.SetEventObject(&button);
    button.ProcessWindowEvent(click);
  }

  static constexpr int kCustomPreset = 16;
  static constexpr int kSjisItem = 0;
  static constexpr int kEucItem = 1;

 private:
  MainDialogDriver& window_;
};

}  // namespace quillmark::testing
