#include "platform/win32/wide_text.h"

#include <cerrno>
#include <cstring>

#include "platform/path.h"

namespace quillmark::platform::win32 {

std::wstring ToWide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
  return wide;
}

std::string ToUtf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), length, nullptr, nullptr);
  return utf8;
}

std::wstring ExtendedPath(std::string_view path) {
  // Normalised first: the extended form takes "." and ".." as names.
  const Result<std::string> absolute = MakeAbsolutePath(path);
  std::wstring wide = ToWide(absolute ? std::string_view(*absolute) : path);
  for (wchar_t& c : wide)
    if (c == L'/') c = L'\\';
  if (wide.starts_with(L"\\\\?\\")) return wide;
  if (wide.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + wide.substr(2);
  if (wide.size() >= 2 && wide[1] == L':') return L"\\\\?\\" + wide;
  return wide;  // no absolute form to be had: the system resolves it, within its limit
}

SystemError FromWin32Error(DWORD error) {
  int code = 0;
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_INVALID_DRIVE: code = ENOENT; break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: code = EACCES; break;
    case ERROR_DIRECTORY: code = ENOTDIR; break;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: code = ENOMEM; break;
    case ERROR_FILENAME_EXCED_RANGE: code = ENAMETOOLONG; break;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: code = EEXIST; break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: code = ENOSPC; break;
    case ERROR_WRITE_PROTECT: code = EROFS; break;
    case ERROR_CANT_RESOLVE_FILENAME: code = ELOOP; break;
    default: break;
  }
  if (code != 0) return SystemError::FromCode(code);
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
      MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string reason = length > 0 ? ToUtf8(std::wstring_view(text, length)) : "Error " + std::to_string(error);
  if (text != nullptr) LocalFree(text);
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.' ||
                             reason.back() == ' '))
    reason.pop_back();
  // Far above every errno value, so that no error is taken for another.
  return SystemError{static_cast<int>(0x10000 + error), reason};
}

SystemError LastError() { return FromWin32Error(GetLastError()); }

}  // namespace quillmark::platform::win32
