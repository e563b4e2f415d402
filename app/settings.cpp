#include "app/settings.h"

#include <new>

#include "app/message_box.h"
#include "platform/path.h"
#include "platform/private_profile.h"

namespace quillmark::app {
namespace {

bool Write(const std::string& settingsPath, std::string_view key, std::string_view value) {
  try {
    if (platform::WritePrivateProfileString(settingsPath, kSettingsSection, key, value)) return true;
    ShowMessage(kSettingsWriteFailed, MessageIcon::Warning);
  } catch (const std::bad_alloc&) {
    // The file was too big to read back before the write; it is kept.
    ShowOutOfMemory();
  }
  return false;
}

constexpr std::string_view kLexerKey = "Lexer";

// "C" in any case; anything else is the line scanner.
bool IsCLexer(std::string_view value) { return value == "C" || value == "c"; }

bool HasLexerKey(const std::string& settingsPath) {
  // No value read from the file holds a line break.
  return platform::GetPrivateProfileString(settingsPath, kSettingsSection, kLexerKey, "\n") != "\n";
}

bool WriteLexer(const std::string& settingsPath, bool cLexer) {
  try {
    if (!cLexer && !HasLexerKey(settingsPath)) return true;
  } catch (const std::bad_alloc&) {
    ShowOutOfMemory();
    return false;
  }
  return Write(settingsPath, kLexerKey, cLexer ? "C" : "LINE");
}

}  // namespace

std::string SettingsFilePath(const std::string& folder) {
  return platform::JoinPath(folder, kSettingsFileName);
}

Settings LoadSettings(const std::string& settingsPath) {
  Settings settings;
  try {
    const platform::PrivateProfileReader file(settingsPath);
    const auto read = [&file](std::string_view key, std::string& value) {
      value = file.GetString(kSettingsSection, key, value);
    };
    read("EditorPath", settings.editorPath);
    read("EditorParam", settings.editorParam);
    read("EditorType", settings.editorType);
    read("FileExt", settings.fileExt);
    read("Encoding", settings.encoding);
    read("FinderRootPath", settings.finderRootPath);
    settings.cLexer = IsCLexer(file.GetString(kSettingsSection, kLexerKey, ""));
  } catch (const std::bad_alloc&) {
    // A huge file, say: the window still runs on what could be read.
    settings.complete = false;
    ShowOutOfMemory();
  }
  return settings;
}

bool SaveSettings(const std::string& settingsPath, const editor::EditorSettings& values) {
  bool saved = Write(settingsPath, "EditorPath", values.editorPath);
  saved = Write(settingsPath, "EditorParam", values.editorParam) && saved;
  saved = Write(settingsPath, "EditorType", values.editorType) && saved;
  saved = Write(settingsPath, "FileExt", values.fileExt) && saved;
  saved = Write(settingsPath, "Encoding", values.encoding) && saved;
  saved = WriteLexer(settingsPath, values.cLexer) && saved;
  return saved;
}

bool SaveFinderRootPath(const std::string& settingsPath, const std::string& rootPath) {
  return Write(settingsPath, "FinderRootPath", rootPath);
}

}  // namespace quillmark::app
