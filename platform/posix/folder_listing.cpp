#include "platform/posix/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>


namespace quillmark::platform {
namespace {

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

FileIdentity IdentityOf(const struct stat& status) {
  return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

// Follows links, as the walk does. An entry whose status cannot be read
// (a dangling link) counts as a file, so that its open fails visibly.
// The status is read relative to the open folder, so that its path may be
// of any length.
void Classify(int folderFd, unsigned char type, FolderEntry& entry) {
  if (type == DT_REG) {
    entry.kind = EntryKind::File;
    return;
  }
  struct stat status {};
  if (fstatat(folderFd, entry.name.c_str(), &status, 0) != 0) {
    entry.kind = EntryKind::File;
  } else if (S_ISDIR(status.st_mode)) {
    entry.kind = EntryKind::Folder;
    entry.identity = IdentityOf(status);
  } else if (S_ISREG(status.st_mode)) {
    entry.kind = EntryKind::File;
  } else {
    entry.kind = EntryKind::Other;
  }
}

}  // namespace

Result<FolderListing> ListFolderDescriptor(int fd) {
  std::unique_ptr<DIR, DirCloser> dir(fdopendir(fd));
  if (!dir) {
    SystemError error = SystemError::FromErrno();
    ::close(fd);
    return error;
  }

  FolderListing listing;
  struct stat status {};
  if (fstat(dirfd(dir.get()), &status) == 0) listing.identity = IdentityOf(status);

  std::vector<unsigned char> types;
  // readdir tells its end and its failure apart only by errno.
  errno = 0;
  while (const dirent* item = readdir(dir.get())) {
    std::string_view name = item->d_name;
    if (name == "." || name == "..") continue;
    listing.entries.push_back(FolderEntry{std::string(name), EntryKind::File, {}});
    types.push_back(item->d_type);
    errno = 0;
  }
  if (errno != 0) return SystemError::FromErrno();
  for (std::size_t i = 0; i < listing.entries.size(); ++i) Classify(dirfd(dir.get()), types[i], listing.entries[i]);

  std::sort(listing.entries.begin(), listing.entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  return listing;
}

}  // namespace quillmark::platform
