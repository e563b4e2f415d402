#include "platform/native_file.h"

#include <cerrno>

#include "platform/open_folder.h"
#include "platform/path.h"
#include "platform/win32/wide_text.h"

namespace quillmark::platform {
namespace {

HANDLE Native(NativeHandle handle) { return reinterpret_cast<HANDLE>(handle); }

Result<Descriptor> OpenForReading(const std::wstring& path) {
  // Shared for every use, so that an editor with the file open never makes
  // it unreadable to us, nor we unwritable to it.
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_BACKUP_SEMANTICS,
                                  nullptr);
  if (file == INVALID_HANDLE_VALUE) return win32::LastError();
  return Descriptor(reinterpret_cast<NativeHandle>(file));
}

}  // namespace

bool IsRegularFile(const std::string& path) {
  Result<Descriptor> opened = OpenForReading(win32::ExtendedPath(path));
  return opened && RegularFileSize(opened->Get()).has_value();
}

void CloseNativeHandle(NativeHandle handle) { CloseHandle(Native(handle)); }

Result<Descriptor> OpenFileForReading(const std::string& path) {
  return OpenForReading(win32::ExtendedPath(path));
}

Result<Descriptor> OpenFileForReadingIn(const OpenFolder& folder, const std::string& name) {
  return OpenForReading(win32::ExtendedPath(JoinPath(folder.Path(), name)));
}

Result<std::uint64_t> RegularFileSize(NativeHandle handle) {
  if (GetFileType(Native(handle)) != FILE_TYPE_DISK) return SystemError::FromCode(EINVAL);
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandle(Native(handle), &information)) return win32::LastError();
  if (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return SystemError::FromCode(EISDIR);
  return (std::uint64_t{information.nFileSizeHigh} << 32) | information.nFileSizeLow;
}

Result<std::size_t> ReadNative(NativeHandle handle, char* to, std::size_t room) {
  DWORD count = 0;
  const DWORD asked = room > (1u << 30) ? (1u << 30) : static_cast<DWORD>(room);
  if (!ReadFile(Native(handle), to, asked, &count, nullptr)) {
    if (GetLastError() == ERROR_HANDLE_EOF || GetLastError() == ERROR_BROKEN_PIPE) return std::size_t{0};
    return win32::LastError();
  }
  return static_cast<std::size_t>(count);
}

Status SeekToStart(NativeHandle handle) {
  LARGE_INTEGER start{};
  if (!SetFilePointerEx(Native(handle), start, nullptr, FILE_BEGIN)) return win32::LastError();
  return Status();
}

}  // namespace quillmark::platform
