// Every message box of the program goes through ShowMessage, so that tests
// can record the boxes instead of showing them.
#pragma once

#include <wx/dialog.h>

#include <functional>
#include <string>

namespace quillmark::app {

enum class MessageIcon { Information, Warning };

// Shows `text` (UTF-8) with one OK button and returns when it is closed.
using MessageBoxFunction = std::function<void(const std::string& text, MessageIcon icon)>;

void ShowMessage(const std::string& text, MessageIcon icon);

// Installs `function` in place of the platform's box (an empty function
// restores it) and returns the one it replaces.
MessageBoxFunction ReplaceMessageBox(MessageBoxFunction function);

// The platform's box: the text, its icon and one OK button, made at least
// as wide as its caption needs, which a native box is not when its text is
// short. Shown modally by ShowMessage; tests may show it without waiting.
class MessageDialog final : public wxDialog {
 public:
  MessageDialog(wxWindow* parent, const std::string& text, MessageIcon icon);

  // The outer width the caption needs: its text in the title bar's font
  // and room for the window manager's buttons beside it.
  int CaptionWidth() const;
};

// The caption of every box: the program file's name without extension.
inline constexpr const char* kMessageCaption = "quillmark";

// The text shown whenever a setting cannot be written.
inline constexpr const char* kSettingsWriteFailed = "INIファイルに書き込めませんでした";

// The text shown when memory ran short and the work at hand was given up.
inline constexpr const char* kOutOfMemory = "メモリが不足しています。";

// Shows kOutOfMemory as a warning. Where even the box finds no memory, the
// program goes on without it.
void ShowOutOfMemory();

}  // namespace quillmark::app
