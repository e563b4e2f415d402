#include "app/message_box.h"

#include <wx/msgdlg.h>

#include <new>
#include <utility>

namespace quillmark::app {
namespace {

void ShowPlatformMessageBox(const std::string& text, MessageIcon icon) {
  const long style = wxOK | (icon == MessageIcon::Warning ? wxICON_WARNING : wxICON_INFORMATION);
  wxMessageBox(wxString::FromUTF8(text), kMessageCaption, style);
}

MessageBoxFunction& CurrentMessageBox() {
  static MessageBoxFunction function = ShowPlatformMessageBox;
  return function;
}

}  // namespace

void ShowMessage(const std::string& text, MessageIcon icon) { CurrentMessageBox()(text, icon); }

void ShowOutOfMemory() {
  try {
    ShowMessage(kOutOfMemory, MessageIcon::Warning);
  } catch (const std::bad_alloc&) {
  }
}

MessageBoxFunction ReplaceMessageBox(MessageBoxFunction function) {
  if (!function) function = ShowPlatformMessageBox;
  return std::exchange(CurrentMessageBox(), std::move(function));
}

}  // namespace quillmark::app
