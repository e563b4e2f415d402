// Trees of many entries are made far faster in memory than on a disk:
// while one of these lives, TempTree makes its trees in /dev/shm where
// that is a folder we may write, and in the usual place otherwise.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace quillmark::testing {

class ScopedMemoryTempFolder {
 public:
  ScopedMemoryTempFolder() {
    if (access("/dev/shm", W_OK | X_OK) != 0) return;
    if (const char* previous = std::getenv("TMPDIR")) previous_ = previous;
    setenv("TMPDIR", "/dev/shm", 1);
    active_ = true;
  }
  ~ScopedMemoryTempFolder() {
    if (!active_) return;
    if (previous_)
      setenv("TMPDIR", previous_->c_str(), 1);
    else
      unsetenv("TMPDIR");
  }
  ScopedMemoryTempFolder(const ScopedMemoryTempFolder&) = delete;
  ScopedMemoryTempFolder& operator=(const ScopedMemoryTempFolder&) = delete;

 private:
  std::optional<std::string> previous_;
  bool active_ = false;
};

}  // namespace quillmark::testing
