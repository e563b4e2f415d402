#include "tests/support/failing_reads.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <mutex>

namespace quillmark::testing {
namespace {

std::mutex rule;
std::string failingSuffix;  // guarded by `rule`
std::uint64_t failingOffset = 0;
std::atomic<bool> failing{false};  // spares the lookups while nothing fails

bool ShouldFail(int fd) {
  std::lock_guard lock(rule);
  char path[4096];
  const std::string link = "/proc/self/fd/" + std::to_string(fd);
  const ssize_t length = ::readlink(link.c_str(), path, sizeof path);
  if (length <= 0 || failingSuffix.empty()) return false;
  const std::string_view name(path, static_cast<std::size_t>(length));
  if (!name.ends_with(failingSuffix)) return false;
  const off_t at = ::lseek(fd, 0, SEEK_CUR);
  return at >= 0 && static_cast<std::uint64_t>(at) >= failingOffset;
}

}  // namespace

void FailReadsOf(const std::string& pathSuffix, std::uint64_t offset) {
  std::lock_guard lock(rule);
  failingSuffix = pathSuffix;
  failingOffset = offset;
  failing = !pathSuffix.empty();
}

}  // namespace quillmark::testing

extern "C" ssize_t read(int fd, void* buffer, size_t count) {
  if (quillmark::testing::failing.load() && quillmark::testing::ShouldFail(fd)) {
    errno = EIO;
    return -1;
  }
  return syscall(SYS_read, fd, buffer, count);
}
