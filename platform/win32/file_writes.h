// Writing files with the wide API, shared by the settings file and the
// saved lists.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace quillmark::platform::win32 {

bool WriteAll(HANDLE file, std::string_view bytes);

// A new file beside `path` that no other writer uses (CREATE_NEW, so an
// existing file or a planted link is never written through); its name in
// `tempPath`, INVALID_HANDLE_VALUE with the error left in GetLastError.
HANDLE CreateTemporaryBeside(const std::string& path, std::string& tempPath);

// Moves `tempPath` over `path`: ReplaceFileW where `path` exists, so that
// its attributes and security stay; MoveFileExW otherwise. The error is
// left in GetLastError.
bool ReplaceWith(const std::string& tempPath, const std::string& path);

}  // namespace quillmark::platform::win32
