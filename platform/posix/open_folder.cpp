#include "platform/open_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/folder_listing.h"
#include "platform/posix/open_path.h"

namespace quillmark::platform {
namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

int Fd(NativeHandle handle) { return static_cast<int>(handle); }

}  // namespace

Result<OpenFolder> OpenFolder::Open(const std::string& path) {
  const int fd = OpenPath(path, kFolderFlags);
  if (fd < 0) return SystemError::FromErrno();
  return OpenFolder(Descriptor(fd), {});
}

Result<OpenFolder> OpenFolder::OpenChild(std::string_view name) const {
  const int fd = ::openat(Fd(Handle()), std::string(name).c_str(), kFolderFlags);
  if (fd < 0) return SystemError::FromErrno();
  return OpenFolder(Descriptor(fd), {});
}

FileIdentity OpenFolder::Identity() const {
  struct stat status {};
  if (fstat(Fd(Handle()), &status) != 0) return {};
  return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

Result<FolderListing> OpenFolder::List() const {
  // The listing reads through a descriptor of its own, so that this one
  // stays usable for opening entries.
  const int fd = ::openat(Fd(Handle()), ".", kFolderFlags);
  if (fd < 0) return SystemError::FromErrno();
  return ListFolderDescriptor(fd);
}

}  // namespace quillmark::platform
