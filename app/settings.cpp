#include "app/settings.h"

#include "app/message_box.h"
#include "platform/path.h"
#include "platform/private_profile.h"

namespace quillmark::app {
namespace {

std::string Read(const std::string& settingsPath, std::string_view key, std::string_view defaultValue) {
  return platform::GetPrivateProfileString(settingsPath, kSettingsSection, key, defaultValue);
}

bool Write(const std::string& settingsPath, std::string_view key, const std::string& value) {
  if (platform::WritePrivateProfileString(settingsPath, kSettingsSection, key, value)) return true;
  ShowMessage(kSettingsWriteFailed, MessageIcon::Warning);
  return false;
}

}  // namespace

std::string SettingsFilePath(const std::string& folder) {
  return platform::JoinPath(folder, kSettingsFileName);
}

Settings LoadSettings(const std::string& settingsPath) {
  Settings settings;
  settings.editorPath = Read(settingsPath, "EditorPath", settings.editorPath);
  settings.editorParam = Read(settingsPath, "EditorParam", settings.editorParam);
  settings.editorType = Read(settingsPath, "EditorType", settings.editorType);
  settings.fileExt = Read(settingsPath, "FileExt", settings.fileExt);
  settings.encoding = Read(settingsPath, "Encoding", settings.encoding);
  settings.finderRootPath = Read(settingsPath, "FinderRootPath", settings.finderRootPath);
  return settings;
}

bool SaveSettings(const std::string& settingsPath, const editor::EditorSettings& values) {
  bool saved = Write(settingsPath, "EditorPath", values.editorPath);
  saved = Write(settingsPath, "EditorParam", values.editorParam) && saved;
  saved = Write(settingsPath, "EditorType", values.editorType) && saved;
  saved = Write(settingsPath, "FileExt", values.fileExt) && saved;
  saved = Write(settingsPath, "Encoding", values.encoding) && saved;
  return saved;
}

bool SaveFinderRootPath(const std::string& settingsPath, const std::string& rootPath) {
  return Write(settingsPath, "FinderRootPath", rootPath);
}

}  // namespace quillmark::app
