#include "platform/save_file.h"

#include "platform/path.h"
#include "platform/win32/file_writes.h"
#include "platform/win32/wide_text.h"

namespace quillmark::platform {

std::optional<std::string> SaveFileAtomically(const std::string& path, std::string_view bytes) {
  const std::string absolute = MakeAbsolutePath(path).value_or(path);
  std::string tempPath;
  const HANDLE file = win32::CreateTemporaryBeside(absolute, tempPath);
  if (file == INVALID_HANDLE_VALUE) return win32::LastError().reason;
  bool ok = win32::WriteAll(file, bytes) && FlushFileBuffers(file);
  DWORD error = ok ? 0 : GetLastError();
  CloseHandle(file);
  if (ok && !win32::ReplaceWith(tempPath, absolute)) {
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
