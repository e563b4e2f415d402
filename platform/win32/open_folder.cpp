#include "platform/open_folder.h"

#include <algorithm>
#include <cerrno>

#include "platform/path.h"
#include "platform/win32/wide_text.h"

namespace quillmark::platform {
namespace {

HANDLE Native(NativeHandle handle) { return reinterpret_cast<HANDLE>(handle); }

// Links and junctions are followed, as the walk follows them elsewhere.
HANDLE OpenForInformation(const std::wstring& path) {
  return CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

struct Information {
  DWORD attributes = 0;
  FileIdentity identity;
};

bool InformationOf(HANDLE handle, Information& information) {
  BY_HANDLE_FILE_INFORMATION data{};
  if (!GetFileInformationByHandle(handle, &data)) return false;
  information.attributes = data.dwFileAttributes;
  // A volume's serial number and the file's index name one file, as a
  // device and an inode do.
  information.identity = {data.dwVolumeSerialNumber,
                          (std::uint64_t{data.nFileIndexHigh} << 32) | data.nFileIndexLow};
  return true;
}

// A folder, link or junction entry by what it leads to, with its identity.
// One whose target cannot be read counts as a file, so that its open fails
// visibly.
void ClassifyByTarget(const std::wstring& path, FolderEntry& entry) {
  const HANDLE target = OpenForInformation(path);
  Information information;
  const bool known = target != INVALID_HANDLE_VALUE && InformationOf(target, information);
  if (target != INVALID_HANDLE_VALUE) CloseHandle(target);
  if (known && (information.attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    entry.kind = EntryKind::Folder;
    entry.identity = information.identity;
  } else {
    entry.kind = EntryKind::File;
  }
}

}  // namespace

Result<OpenFolder> OpenFolder::Open(const std::string& path) {
  Result<std::string> absolute = MakeAbsolutePath(path);
  if (!absolute) return absolute.error();
  const HANDLE folder = OpenForInformation(win32::ExtendedPath(*absolute));
  if (folder == INVALID_HANDLE_VALUE) return win32::LastError();
  Descriptor handle(reinterpret_cast<NativeHandle>(folder));
  Information information;
  if (!InformationOf(folder, information)) return win32::LastError();
  if (!(information.attributes & FILE_ATTRIBUTE_DIRECTORY)) return SystemError::FromCode(ENOTDIR);
  return OpenFolder(std::move(handle), std::move(*absolute));
}

Result<OpenFolder> OpenFolder::OpenChild(std::string_view name) const {
  // Paths in the extended form are taken as they stand: ".." is resolved
  // here.
  if (name == "..") return Open(ParentFolder(path_));
  return Open(JoinPath(path_, name));
}

FileIdentity OpenFolder::Identity() const {
  Information information;
  return InformationOf(Native(Handle()), information) ? information.identity : FileIdentity{};
}

Result<FolderListing> OpenFolder::List() const {
  FolderListing listing;
  listing.identity = Identity();
  const std::wstring folder = win32::ExtendedPath(path_);
  std::wstring pattern = folder;
  if (!pattern.ends_with(L'\\')) pattern += L'\\';
  const std::wstring prefix = pattern;
  pattern += L'*';
  WIN32_FIND_DATAW data{};
  const HANDLE find =
      FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) {
    if (GetLastError() == ERROR_FILE_NOT_FOUND) return listing;  // a drive's root may have no entry at all
    return win32::LastError();
  }
  do {
    const std::wstring_view name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    FolderEntry entry{win32::ToUtf8(name), EntryKind::File, {}};
    const DWORD attributes = data.dwFileAttributes;
    if (attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) {
      ClassifyByTarget(prefix + std::wstring(name), entry);
    } else if (attributes & FILE_ATTRIBUTE_DEVICE) {
      entry.kind = EntryKind::Other;
    }
    listing.entries.push_back(std::move(entry));
  } while (FindNextFileW(find, &data));
  const DWORD error = GetLastError();
  FindClose(find);
  if (error != ERROR_NO_MORE_FILES) return win32::FromWin32Error(error);
  std::sort(listing.entries.begin(), listing.entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  return listing;
}

}  // namespace quillmark::platform
