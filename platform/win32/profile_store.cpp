#include "platform/profile_store.h"

#include <charconv>

#include "platform/path.h"
#include "platform/win32/file_writes.h"
#include "platform/win32/wide_text.h"

namespace quillmark::platform::profile_store {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool WriteText(HANDLE file, const NewText& text) {
  return win32::WriteAll(file, text.head) && win32::WriteAll(file, text.middle) && win32::WriteAll(file, text.tail);
}

bool IsDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

bool ProcessIsGone(DWORD id) {
  const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
  if (process == nullptr) return GetLastError() == ERROR_INVALID_PARAMETER;
  const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
  CloseHandle(process);
  return ended;
}

}  // namespace

ReadOutcome ReadRegularFile(const std::string& path, std::string& bytes, FileMode& mode) {
  bytes.clear();
  const HANDLE file =
      CreateFileW(win32::ExtendedPath(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadOutcome::kMissing
                                                                           : ReadOutcome::kFailed;
  }
  BY_HANDLE_FILE_INFORMATION information{};
  bool ok = GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &information) &&
            !(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  if (ok) {
    mode.bits = information.dwFileAttributes;
    bytes.resize((std::size_t{information.nFileSizeHigh} << 32) | information.nFileSizeLow);
    std::size_t used = 0;
    for (;;) {
      char spare[4096];
      const bool full = used == bytes.size();
      DWORD count = 0;
      if (!ReadFile(file, full ? spare : bytes.data() + used,
                    full ? DWORD{sizeof spare} : static_cast<DWORD>(std::min<std::size_t>(bytes.size() - used, 1u << 30)),
                    &count, nullptr)) {
        ok = false;
        break;
      }
      if (count == 0) break;
      if (full) bytes.append(spare, count);
      used += count;
    }
    bytes.resize(std::min(used, bytes.size()));
  }
  CloseHandle(file);
  if (!ok) bytes.clear();
  return ok ? ReadOutcome::kRead : ReadOutcome::kFailed;
}

std::optional<std::string> FollowLinks(std::string path) {
  // Where the file exists the system resolves every link and junction;
  // a missing file is written where it is named.
  const HANDLE file = CreateFileW(win32::ExtendedPath(path).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return path;
    return error == ERROR_CANT_RESOLVE_FILENAME ? std::nullopt : std::optional<std::string>(path);
  }
  std::wstring final(32768, L'\0');
  const DWORD length =
      GetFinalPathNameByHandleW(file, final.data(), static_cast<DWORD>(final.size()), FILE_NAME_NORMALIZED);
  CloseHandle(file);
  if (length == 0 || length >= final.size()) return path;
  final.resize(length);
  return NormalizeAbsolutePath(win32::ToUtf8(final));
}

void RemoveStaleTemporaries(const std::string& path) {
  const std::string absolute = MakeAbsolutePath(path).value_or(path);
  const std::string folder = ParentFolder(absolute);
  const std::string prefix = absolute.substr(absolute.rfind('\\') + 1) + ".tmp.";
  WIN32_FIND_DATAW data{};
  const HANDLE find = FindFirstFileW(win32::ExtendedPath(JoinPath(folder, prefix + "*")).c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = win32::ToUtf8(data.cFileName);
    const std::string_view numbers = std::string_view(name).substr(std::min(prefix.size(), name.size()));
    const std::size_t dot = numbers.find('.');
    if (!name.starts_with(prefix) || dot == std::string_view::npos || !IsDigits(numbers.substr(0, dot)) ||
        !IsDigits(numbers.substr(dot + 1)))
      continue;
    DWORD id = 0;
    const auto [end, error] = std::from_chars(numbers.data(), numbers.data() + dot, id);
    if (error != std::errc() || id == 0) continue;
    if (ProcessIsGone(id)) DeleteFileW(win32::ExtendedPath(JoinPath(folder, name)).c_str());
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

bool CanOpenForWriting(const std::string& path) {
  const HANDLE file =
      CreateFileW(win32::ExtendedPath(path).c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

Replacement ReplaceFileAtomically(const std::string& path, const NewText& text, std::optional<FileMode>) {
  std::string tempPath;
  const HANDLE file = win32::CreateTemporaryBeside(path, tempPath);
  if (file == INVALID_HANDLE_VALUE)
    return GetLastError() == ERROR_ACCESS_DENIED ? Replacement::kRefusedByFolder : Replacement::kFailed;
  bool ok = WriteText(file, text) && FlushFileBuffers(file);
  CloseHandle(file);
  DWORD error = 0;
  if (ok && !win32::ReplaceWith(tempPath, path)) {
    error = GetLastError();
    ok = false;
  }
  if (!ok) {
    DeleteFileW(win32::ExtendedPath(tempPath).c_str());
    return error == ERROR_ACCESS_DENIED ? Replacement::kRefusedByFolder : Replacement::kFailed;
  }
  return Replacement::kDone;
}

bool WriteInPlace(const std::string& path, const NewText& text) {
  const HANDLE file =
      CreateFileW(win32::ExtendedPath(path).c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = GetFileType(file) == FILE_TYPE_DISK && WriteText(file, text) && SetEndOfFile(file) && FlushFileBuffers(file);
  CloseHandle(file);
  return ok;
}

}  // namespace quillmark::platform::profile_store
