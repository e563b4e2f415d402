// The settings store: seven values kept in quillmark.ini, section Quillmark.
#pragma once

#include <string>
#include <string_view>

#include "editor/editor_settings.h"

namespace quillmark::app {

inline constexpr std::string_view kSettingsSection = "Quillmark";
inline constexpr std::string_view kSettingsFileName = "quillmark.ini";

// The six values of the settings dialog and the folder last searched.
struct Settings : editor::EditorSettings {
  std::string finderRootPath;
  // False when memory ran short while reading: the values not read are
  // their defaults.
  bool complete = true;
};

// The settings file in `folder` (the current directory at start-up).
std::string SettingsFilePath(const std::string& folder);

// Every value from the file, read once, or its default when the file, the
// section or the key is missing. Where memory runs short the reading
// stops, says so in a warning and leaves the rest at their defaults.
Settings LoadSettings(const std::string& settingsPath);

// Writes the six values of the settings dialog in order; Lexer, which
// files made before it lack, only when it is C or already in the file, so
// that such a file keeps its bytes while the line scanner is chosen. Each
// failed write is reported by itself (a lack of memory as such, the file
// then kept) and the next one is still made. False when any write failed.
bool SaveSettings(const std::string& settingsPath, const editor::EditorSettings& values);

// Writes FinderRootPath, reporting a failure; false when it failed.
bool SaveFinderRootPath(const std::string& settingsPath, const std::string& rootPath);

}  // namespace quillmark::app
