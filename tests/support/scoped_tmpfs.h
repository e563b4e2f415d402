// A small memory file system mounted for one test, where the machine lets
// the test mount one (root, or a user namespace that allows it).
#pragma once

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace quillmark::testing {

class ScopedTmpfs {
 public:
  // Mounts a tmpfs of `sizeBytes` on a new folder `folder`.
  ScopedTmpfs(const std::string& folder, unsigned long sizeBytes) : folder_(folder) {
    if (mkdir(folder_.c_str(), 0755) != 0) return;
    const std::string options = "size=" + std::to_string(sizeBytes) + ",mode=0755";
    mounted_ = mount("tmpfs", folder_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
  }
  ~ScopedTmpfs() {
    if (mounted_) umount2(folder_.c_str(), MNT_DETACH);
    rmdir(folder_.c_str());
  }
  ScopedTmpfs(const ScopedTmpfs&) = delete;
  ScopedTmpfs& operator=(const ScopedTmpfs&) = delete;

  bool Mounted() const { return mounted_; }
  const std::string& Folder() const { return folder_; }

  // Makes the whole file system refuse writes, or accept them again.
  bool SetReadOnly(bool readOnly) {
    const unsigned long flags = MS_REMOUNT | MS_NOSUID | MS_NODEV | (readOnly ? MS_RDONLY : 0);
    return mount("tmpfs", folder_.c_str(), "tmpfs", flags, nullptr) == 0;
  }

 private:
  std::string folder_;
  bool mounted_ = false;
};

}  // namespace quillmark::testing
