// The six settings that the settings dialog edits and the editor launch
// and the search read.
#pragma once

#include <string>

#include "platform/code_page.h"

namespace quillmark::editor {

// The desktop's own opener stands where Windows has Notepad.
#ifdef _WIN32
inline constexpr const char* kDefaultEditorPath = "notepad";
#else
inline constexpr const char* kDefaultEditorPath = "xdg-open";
#endif

struct EditorSettings {
  std::string editorPath = kDefaultEditorPath;
  std::string editorParam = "%F";  // "%L" the line, "%F" the file
  std::string editorType = "custom";
  std::string fileExt = "c;cpp;h;hpp";
  std::string encoding{platform::kShiftJisNames.setting};
  bool cLexer = false;  // literals read by the C/C++ rules rather than line by line
};

}  // namespace quillmark::editor
