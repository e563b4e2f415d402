// One private folder per fuzzing process for the files a harness writes:
// under $TMPDIR when set, else in memory (/dev/shm) where there is one.
// Removed when the process exits; a crash leaves it to whoever set $TMPDIR.
#pragma once

#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace quillmark::fuzz {

inline void RemoveFolderAndFiles(const std::string& folder) {
  if (DIR* dir = opendir(folder.c_str())) {
    while (const dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") unlink((folder + "/" + name).c_str());
    }
    closedir(dir);
  }
  rmdir(folder.c_str());
}

inline const std::string& ScratchFolder() {
  static const std::string folder = [] {
    const char* tmp = std::getenv("TMPDIR");
    std::string base = "/tmp";
    if (tmp != nullptr && *tmp != '\0')
      base = tmp;
    else if (access("/dev/shm", W_OK) == 0)
      base = "/dev/shm";
    std::string pattern = base + "/quillmark-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    return pattern;
  }();
  static const bool cleanup = [] { return std::atexit([] { RemoveFolderAndFiles(ScratchFolder()); }) == 0; }();
  (void)cleanup;
  return folder;
}

// The names in `folder`, "." and ".." left out.
inline std::string NamesIn(const std::string& folder) {
  std::string names;
  if (DIR* dir = opendir(folder.c_str())) {
    while (const dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") names += name + "\n";
    }
    closedir(dir);
  }
  return names;
}

}  // namespace quillmark::fuzz
