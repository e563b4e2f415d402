// The edge between our UTF-8 strings and the wide (UTF-16) API, and the
// system's errors as SystemError values.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/system_error.h"

namespace quillmark::platform::win32 {

// Bytes that are no UTF-8 become U+FFFD.
std::wstring ToWide(std::string_view utf8);
// An unpaired surrogate becomes U+FFFD.
std::string ToUtf8(std::wstring_view wide);

// `path` (any form MakeAbsolutePath reads) made absolute and normalised,
// in the form that lifts the length limit: "\\?\C:\..." or
// "\\?\UNC\server\share\...".
std::wstring ExtendedPath(std::string_view path);

// The error as the POSIX build names it where the two agree (ENOENT,
// EACCES, ...; reason as strerror gives it), so that both builds print
// the same words; the system's own message otherwise.
SystemError FromWin32Error(DWORD error);
SystemError LastError();

}  // namespace quillmark::platform::win32
