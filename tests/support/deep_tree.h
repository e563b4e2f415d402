// Folder chains deeper than any path the system takes whole: made and
// removed through descriptors, one name at a time.
#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/temp_tree.h"

namespace quillmark::testing {

// Makes `depth` folders named `name`, each inside the last, below `folder`,
// and writes `bytes` as `fileName` in the deepest one. The path of that
// file: `folder`, then "/" + `name` `depth` times, then "/" + `fileName`.
inline void MakeNestedFolders(const std::string& folder, int depth, const std::string& name,
                              const std::string& fileName, std::string_view bytes) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  for (int level = 0; level < depth && fd >= 0; ++level) {
    const bool made = mkdirat(fd, name.c_str(), 0755) == 0;
    const int inner = made ? openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
    ::close(fd);
    fd = inner;
  }
  if (fd < 0) throw std::runtime_error("cannot make the nested folders");
  const int file = openat(fd, fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  const bool written = file >= 0 && ::write(file, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  if (file >= 0) ::close(file);
  ::close(fd);
  if (!written) throw std::runtime_error("cannot write the deepest file");
}

// Removes `name` in the current folder and everything below it, links
// removed and never followed. Works from inside each folder in turn, so
// that it holds no descriptor and no long path, and keeps the names on the
// way down in a list rather than on the stack, so that no depth is too deep.
inline void RemoveTreeHere(const std::string& name) {
  struct stat status {};
  if (lstat(name.c_str(), &status) != 0) return;
  if (!S_ISDIR(status.st_mode)) {
    unlink(name.c_str());
    return;
  }
  std::vector<std::string> down;  // the folders entered, outermost first
  if (chdir(name.c_str()) != 0) return;
  down.push_back(name);
  while (!down.empty()) {
    // Removes what is not a folder and goes into the first folder left.
    std::string folder;
    if (DIR* dir = opendir(".")) {
      while (const dirent* item = readdir(dir)) {
        const std::string entry = item->d_name;
        if (entry == "." || entry == "..") continue;
        if (lstat(entry.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
          if (folder.empty()) folder = entry;
        } else {
          unlink(entry.c_str());
        }
      }
      closedir(dir);
    }
    if (!folder.empty() && chdir(folder.c_str()) == 0) {
      down.push_back(folder);
      continue;
    }
    // Empty, or a folder that cannot be entered: up, and remove it.
    if (chdir("..") != 0) return;
    rmdir(down.back().c_str());
    down.pop_back();
  }
}

// Removes `name` below `folder` however deep it goes.
inline void RemoveDeepTree(const std::string& folder, const std::string& name) {
  ScopedCurrentDirectory inFolder(folder);
  RemoveTreeHere(name);
}

}  // namespace quillmark::testing
