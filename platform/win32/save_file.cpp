#include "platform/save_file.h"

#include "platform/win32/file_writes.h"
#include "platform/win32/wide_text.h"

namespace quillmark::platform {

std::optional<std::string> SaveFileAtomically(const std::string& path, std::string_view bytes) {
  std::string tempPath;
  const HANDLE file = win32::CreateTemporaryBeside(path, tempPath);
  if (file == INVALID_HANDLE_VALUE) return win32::LastError().reason;
  bool ok = win32::WriteAll(file, bytes) && FlushFileBuffers(file);
  DWORD error = ok ? 0 : GetLastError();
  CloseHandle(file);
  if (ok && !win32::ReplaceWith(tempPath, path)) {
    ok = false;
    error = GetLastError();
  }
  if (!ok) {
    DeleteFileW(win32::ExtendedPath(tempPath).c_str());
    return win32::FromWin32Error(error).reason;
  }
  return std::nullopt;
}

}  // namespace quillmark::platform
