#include "editor/settings_dialog.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/filedlg.h>
#include <wx/textctrl.h>

#include "editor/encoding_choice.h"
#include "res/resource_ids.h"
#include "res/settings_dialog_template.h"
#include "ui/dialog_builder.h"
#include "ui/end_dialog.h"
#include "ui/program_icon.h"

namespace quillmark::editor {
namespace {

std::optional<std::string> ChooseFileWithDialog(wxWindow* parent, const FileOpenRequest& request) {
  // Without wxFD_CHANGE_DIR the current directory, where the settings file
  // lives, stays as it is; no check that the file exists is asked for.
  wxFileDialog chooser(parent, wxString::FromUTF8(request.title), wxString(), wxString(),
                       wxString::FromUTF8(request.wildcard), wxFD_OPEN);
  chooser.SetFilterIndex(request.filterIndex);
  if (chooser.ShowModal() != wxID_OK) return std::nullopt;
  return chooser.GetPath().utf8_string();
}

int ShowModally(SettingsDialog& dialog) { return dialog.ShowModal(); }

wxString FromUtf8(const std::string& text) { return wxString::FromUTF8(text.data(), text.size()); }

}  // namespace

FileOpenRequest EditorFileOpenRequest() {
#ifdef _WIN32
  return {"エディターの指定", "アプリケーション(*.exe)|*.exe|すべてのファイル(*.*)|*.*", 0};
#else
  // Programs here have no ".exe", and "*.*" would hide every name without
  // a dot: the dialog starts on all files, which "*" matches.
  return {"エディターの指定", "アプリケーション(*.exe)|*.exe|すべてのファイル(*.*)|*", 1};
#endif
}

wxBEGIN_EVENT_TABLE(SettingsDialog, wxDialog)
  EVT_COMBOBOX(res::kEditorTypeCombo, SettingsDialog::OnEditorTypeChanged)
  EVT_BUTTON(res::kBrowseEditorButton, SettingsDialog::OnBrowseEditor)
  EVT_BUTTON(res::kSettingsOkButton, SettingsDialog::OnOK)
  EVT_BUTTON(res::kSettingsCancelButton, SettingsDialog::OnCancel)
wxEND_EVENT_TABLE()

SettingsDialog::SettingsDialog() : fileChooser_(ChooseFileWithDialog), modalRun_(ShowModally) {}

SettingsDialog::~SettingsDialog() = default;

bool SettingsDialog::RunModal(wxWindow* owner) {
  OnInitDialog();
  CentreOn(owner);
  // A run that ends without either button counts as Cancel.
  SetReturnCode(wxID_CANCEL);
  return modalRun_(*this) == wxID_OK;
}

void SettingsDialog::MakeWindow() {
  Create(nullptr, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX);
  ui::BuildDialog(*this, res::SettingsDialogTemplate());
  SetIcons(ui::ProgramIcons());
  editorPathEdit_ = dynamic_cast<wxTextCtrl*>(FindWindow(res::kEditorPathEdit));
  editorParamEdit_ = dynamic_cast<wxTextCtrl*>(FindWindow(res::kEditorParamEdit));
  fileExtEdit_ = dynamic_cast<wxTextCtrl*>(FindWindow(res::kFileExtEdit));
  editorTypeCombo_ = dynamic_cast<wxComboBox*>(FindWindow(res::kEditorTypeCombo));
  encodingCombo_ = dynamic_cast<wxComboBox*>(FindWindow(res::kEncodingCombo));
  cLexerCheck_ = dynamic_cast<wxCheckBox*>(FindWindow(res::kCLexerCheck));
  // Enter presses OK; Esc and the close box press Cancel.
  SetAffirmativeId(res::kSettingsOkButton);
  SetEscapeId(res::kSettingsCancelButton);
}

void SettingsDialog::CentreOn(wxWindow* owner) {
  if (owner == nullptr) {
    CentreOnScreen();
    return;
  }
  const wxRect area = owner->GetScreenRect();
  const wxSize size = GetSize();
  Move(area.x + (area.width - size.x) / 2, area.y + (area.height - size.y) / 2);
}

void SettingsDialog::OnInitDialog() {
  if (editorPathEdit_ == nullptr) MakeWindow();

  // The parameter field shows the stored template, not the preset's.
  editorPathBytes_.Set(*editorPathEdit_, values.editorPath);
  editorParamBytes_.Set(*editorParamEdit_, values.editorParam);
  fileExtBytes_.Set(*fileExtEdit_, values.fileExt);

  presets_ = ParseEditorPresets(EditorPresetTable());
  editorTypeCombo_->Clear();
  for (const EditorPreset& preset : presets_) editorTypeCombo_->Append(FromUtf8(preset.displayName));
  const std::optional<std::size_t> selection = InitialPresetIndex(presets_, values.editorType);
  editorParamEdit_->SetEditable(!selection || IsCustomPreset(presets_, *selection));
  // Selecting by program sends no change event: the field keeps its text.
  if (selection) editorTypeCombo_->SetSelection(static_cast<int>(*selection));

  std::vector<std::string> encodings;
  for (unsigned item = 0; item < encodingCombo_->GetCount(); ++item) {
    encodings.push_back(encodingCombo_->GetString(item).utf8_string());
  }
  if (!encodings.empty()) encodingCombo_->SetSelection(static_cast<int>(EncodingItemFor(encodings, values.encoding)));
  cLexerCheck_->SetValue(values.cLexer);
}

void SettingsDialog::OnEditorTypeChanged(wxCommandEvent&) {
  const std::optional<ParameterFieldUpdate> update = ParameterFieldForPick(presets_, editorTypeCombo_->GetSelection());
  if (!update) return;
  editorParamEdit_->SetEditable(!update->readOnly);
  if (update->text) editorParamBytes_.Set(*editorParamEdit_, *update->text);
}

void SettingsDialog::OnBrowseEditor(wxCommandEvent&) {
  // The path goes into the field only; EditorPath follows on OK.
  if (std::optional<std::string> path = fileChooser_(this, EditorFileOpenRequest())) {
    editorPathBytes_.Set(*editorPathEdit_, *path);
  }
}

void SettingsDialog::OnOK(wxCommandEvent&) {
  // As typed: no trimming and no check; empty texts are allowed.
  values.editorPath = editorPathBytes_.Get(*editorPathEdit_);
  values.editorParam = editorParamBytes_.Get(*editorParamEdit_);
  values.fileExt = fileExtBytes_.Get(*fileExtEdit_);
  values.editorType = EditorTypeForSelection(presets_, editorTypeCombo_->GetSelection());
  const int encoding = encodingCombo_->GetSelection();
  values.encoding = encoding == wxNOT_FOUND ? std::string() : encodingCombo_->GetString(encoding).utf8_string();
  values.cLexer = cLexerCheck_->GetValue();
  ui::EndDialog(*this, wxID_OK);
}

void SettingsDialog::OnCancel(wxCommandEvent&) { ui::EndDialog(*this, wxID_CANCEL); }

}  // namespace quillmark::editor
