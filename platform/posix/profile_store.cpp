#include "platform/profile_store.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <vector>

namespace quillmark::platform::profile_store {
namespace {

// More links in a row than this is taken for a loop, as the kernel does.
constexpr int kMaxLinkHops = 40;

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t count = ::write(fd, bytes.data(), bytes.size());
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(count));
  }
  return true;
}

bool WriteAll(int fd, const NewText& text) {
  return WriteAll(fd, text.head) && WriteAll(fd, text.middle) && WriteAll(fd, text.tail);
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Opens a new file beside `path` that no other writer uses. Created with
// mode 0666 so that the umask decides, as for any new file.
int CreateTemporaryBeside(const std::string& path, std::string& tempPath) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = path + ".tmp." + std::to_string(getpid()) + "." + std::to_string(counter++);
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// The renamed entry is durable only once its folder is flushed too. Best
// effort: the new file is in place whatever this returns.
void SyncFolderOf(const std::string& path) {
  const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  (void)fsync(fd);
  ::close(fd);
}

}  // namespace

// Reads into a buffer of the file's size: no growth by doubling, which
// would hold up to twice the file for a moment.
ReadOutcome ReadRegularFile(const std::string& path, std::string& bytes, FileMode& mode) {
  bytes.clear();
  // O_NONBLOCK so that a FIFO in place of the file cannot hang the open.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno == ENOENT ? ReadOutcome::kMissing : ReadOutcome::kFailed;
  struct stat status {};
  bool ok = fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
  mode.bits = status.st_mode & 07777;
  try {
    if (ok) bytes.resize(static_cast<std::size_t>(status.st_size));
    std::size_t used = 0;
    char spare[4096];  // tells the end of the file from a file that grew
    while (ok) {
      const bool full = used == bytes.size();
      const ssize_t count = full ? ::read(fd, spare, sizeof spare) : ::read(fd, bytes.data() + used, bytes.size() - used);
      if (count < 0 && errno == EINTR) continue;
      if (count <= 0) {
        ok = count == 0;
        break;
      }
      if (full) bytes.append(spare, static_cast<std::size_t>(count));
      used += static_cast<std::size_t>(count);
    }
    bytes.resize(used);
  } catch (...) {
    ::close(fd);
    throw;
  }
  ::close(fd);
  if (!ok) bytes = std::string();
  return ok ? ReadOutcome::kRead : ReadOutcome::kFailed;
}

// A write that was killed leaves its temporary file, named as
// CreateTemporaryBeside names it, behind. Those of this very file whose
// writer is gone are removed; a name of any other form, or of a process
// that may still run, is never touched.
void RemoveStaleTemporaries(const std::string& path) {
  DIR* folder = opendir(FolderOf(path).c_str());
  if (folder == nullptr) return;
  const std::string prefix = NameOf(path) + ".tmp.";
  while (const dirent* entry = readdir(folder)) {
    const std::string_view name = entry->d_name;
    if (!name.starts_with(prefix)) continue;
    const std::string_view numbers = name.substr(prefix.size());
    const std::size_t dot = numbers.find('.');
    if (dot == std::string_view::npos || !IsDigits(numbers.substr(0, dot)) || !IsDigits(numbers.substr(dot + 1)))
      continue;
    int pid = 0;
    const auto [end, error] = std::from_chars(numbers.data(), numbers.data() + dot, pid);
    if (error != std::errc() || pid <= 0) continue;  // no process's id: kill() would take it for a group
    if (kill(pid, 0) != 0 && errno == ESRCH) (void)unlinkat(dirfd(folder), entry->d_name, 0);
  }
  closedir(folder);
}

Replacement ReplaceFileAtomically(const std::string& path, const NewText& text, std::optional<FileMode> mode) {
  std::string tempPath;
  const int fd = CreateTemporaryBeside(path, tempPath);
  if (fd < 0) {
    return errno == EACCES || errno == EPERM || errno == EROFS ? Replacement::kRefusedByFolder : Replacement::kFailed;
  }
  bool ok = WriteAll(fd, text) && (!mode || fchmod(fd, static_cast<mode_t>(mode->bits)) == 0) && fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  int renameError = 0;
  if (ok && ::rename(tempPath.c_str(), path.c_str()) != 0) {
    renameError = errno;
    ok = false;
  }
  if (!ok) {
    ::unlink(tempPath.c_str());
    // A sticky folder lets anyone add files but not replace another's.
    return renameError == EPERM || renameError == EACCES ? Replacement::kRefusedByFolder : Replacement::kFailed;
  }
  SyncFolderOf(path);
  return Replacement::kDone;
}

// For a file that its folder does not let be replaced: the same bytes,
// written over the old ones.
bool WriteInPlace(const std::string& path, const NewText& text) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat status {};
  const auto size = static_cast<off_t>(text.head.size() + text.middle.size() + text.tail.size());
  bool ok = fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && WriteAll(fd, text) && ftruncate(fd, size) == 0 &&
            fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  return ok;
}

// Only a file that the user may write is ever replaced: the rename alone
// would swap a read-only file, or another user's, for one of the user's.
bool CanOpenForWriting(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

// The file a write goes to: `path`, or where the chain of symbolic links
// at `path` ends, which need not exist yet. A relative target is relative
// to its link's folder. Nothing for a loop or a link that cannot be read.
std::optional<std::string> FollowLinks(std::string path) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    std::vector<char> target(static_cast<std::size_t>(status.st_size > 0 ? status.st_size : 0) + 256);
    ssize_t length = 0;
    while ((length = readlink(path.c_str(), target.data(), target.size())) >= 0 &&
           static_cast<std::size_t>(length) == target.size()) {
      target.resize(target.size() * 2);  // the link changed under us, or lies about its size
    }
    if (length <= 0) return std::nullopt;
    std::string next(target.data(), static_cast<std::size_t>(length));
    const std::size_t slash = path.rfind('/');
    if (next.front() != '/' && slash != std::string::npos) next.insert(0, path, 0, slash + 1);
    path = std::move(next);
  }
  return std::nullopt;
}

}  // namespace quillmark::platform::profile_store
