#include "platform/native_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/open_folder.h"
#include "platform/posix/open_path.h"

namespace quillmark::platform {
namespace {

// O_NONBLOCK so that a FIFO put in place of a file cannot hang the open.
constexpr int kOpenFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK;

int Fd(NativeHandle handle) { return static_cast<int>(handle); }

Result<Descriptor> Opened(int fd) {
  if (fd < 0) return SystemError::FromErrno();
  return Descriptor(fd);
}

}  // namespace

bool IsRegularFile(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

void CloseNativeHandle(NativeHandle handle) { ::close(Fd(handle)); }

Result<Descriptor> OpenFileForReading(const std::string& path) { return Opened(OpenPath(path, kOpenFlags)); }

Result<Descriptor> OpenFileForReadingIn(const OpenFolder& folder, const std::string& name) {
  return Opened(::openat(Fd(folder.Handle()), name.c_str(), kOpenFlags));
}

Result<std::uint64_t> RegularFileSize(NativeHandle handle) {
  struct stat status {};
  if (fstat(Fd(handle), &status) != 0) return SystemError::FromErrno();
  if (!S_ISREG(status.st_mode)) return SystemError::FromCode(S_ISDIR(status.st_mode) ? EISDIR : EINVAL);
  return static_cast<std::uint64_t>(status.st_size);
}

Result<std::size_t> ReadNative(NativeHandle handle, char* to, std::size_t room) {
  for (;;) {
    const ssize_t count = ::read(Fd(handle), to, room);
    if (count >= 0) return static_cast<std::size_t>(count);
    if (errno != EINTR) return SystemError::FromErrno();
  }
}

Status SeekToStart(NativeHandle handle) {
  if (::lseek(Fd(handle), 0, SEEK_SET) != 0) return SystemError::FromErrno();
  return Status();
}

}  // namespace quillmark::platform
