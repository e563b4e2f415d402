// The settings dialog (template 129): holds the six editor and search
// settings for the whole run. Each showing fills its controls from them;
// only OK takes the controls back, so Cancel keeps every value.
#pragma once

#include <wx/dialog.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/editor_preset_table.h"
#include "editor/editor_settings.h"
#include "ui/field_bytes.h"

class wxCheckBox;
class wxComboBox;
class wxTextCtrl;

namespace quillmark::editor {

// What the browse button asks of the platform's file-open dialog.
struct FileOpenRequest {
  std::string title;
  std::string wildcard;  // description|pattern pairs, as wxFileDialog reads them
  int filterIndex = 0;   // the filter the dialog starts with

  friend bool operator==(const FileOpenRequest&, const FileOpenRequest&) = default;
};

// The request of the browse button on this platform.
FileOpenRequest EditorFileOpenRequest();

class SettingsDialog final : public wxDialog {
 public:
  // The chosen file's full path; none when the user cancels.
  using FileChooser = std::function<std::optional<std::string>(wxWindow* parent, const FileOpenRequest& request)>;
  // Runs the prepared dialog and returns how it ended (wxID_OK or not).
  using ModalRun = std::function<int(SettingsDialog& dialog)>;

  // No window yet: it is made, without a parent, at the first showing, and
  // kept for the next ones.
  SettingsDialog();
  ~SettingsDialog() override;

  // Shows the dialog modally, centred on `owner`; true when it closed with
  // OK, `values` then holding what the user chose.
  bool RunModal(wxWindow* owner);

  // Replace the platform's file-open dialog and modal run, so that tests
  // drive the dialog without blocking.
  void SetFileChooser(FileChooser chooser) { fileChooser_ = std::move(chooser); }
  void SetModalRun(ModalRun run) { modalRun_ = std::move(run); }

  // The presets as the editor-type combo box lists them, rebuilt at every
  // showing.
  const std::vector<EditorPreset>& Presets() const { return presets_; }

  EditorSettings values;

 private:
  void MakeWindow();
  void CentreOn(wxWindow* owner);

  void OnInitDialog();
  void OnEditorTypeChanged(wxCommandEvent& event);
  void OnBrowseEditor(wxCommandEvent& event);
  void OnOK(wxCommandEvent& event);
  void OnCancel(wxCommandEvent& event);

  std::vector<EditorPreset> presets_;
  wxTextCtrl* editorPathEdit_ = nullptr;
  wxTextCtrl* editorParamEdit_ = nullptr;
  wxTextCtrl* fileExtEdit_ = nullptr;
  // The values' bytes, given back by OK for the fields left as they were.
  ui::FieldBytes editorPathBytes_;
  ui::FieldBytes editorParamBytes_;
  ui::FieldBytes fileExtBytes_;
  wxComboBox* editorTypeCombo_ = nullptr;
  wxComboBox* encodingCombo_ = nullptr;
  wxCheckBox* cLexerCheck_ = nullptr;
  FileChooser fileChooser_;
  ModalRun modalRun_;

  wxDECLARE_EVENT_TABLE();
};

}  // namespace quillmark::editor
