#include "platform/posix/open_path.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string_view>

namespace quillmark::platform {
namespace {

constexpr std::size_t kLongestStretch = PATH_MAX - 1;

// Ends the descriptor of a folder passed through, keeping errno.
void CloseKeepingErrno(int fd) {
  const int saved = errno;
  ::close(fd);
  errno = saved;
}

}  // namespace

int OpenPath(const std::string& path, int flags) {
  if (path.size() <= kLongestStretch || path.front() != '/') return ::open(path.c_str(), flags);

  int folder = ::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  std::string_view rest = std::string_view(path).substr(1);
  while (folder >= 0) {
    // The longest run of whole components that fits, or the rest.
    std::size_t cut = rest.size();
    if (cut > kLongestStretch) {
      cut = rest.rfind('/', kLongestStretch);
      if (cut == std::string_view::npos || cut == 0) {
        CloseKeepingErrno(folder);
        errno = ENAMETOOLONG;  // one component longer than the limit
        return -1;
      }
    }
    const std::string stretch(rest.substr(0, cut));
    const bool last = cut == rest.size();
    const int next = ::openat(folder, stretch.c_str(), last ? flags : O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    CloseKeepingErrno(folder);
    if (last || next < 0) return next;
    folder = next;
    rest.remove_prefix(cut + 1);
  }
  return -1;
}

}  // namespace quillmark::platform
