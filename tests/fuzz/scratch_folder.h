// One private folder per fuzzing process for the files a harness writes,
// in memory (/dev/shm) where there is one; removed when the process ends.
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
    std::string base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : (tmp != nullptr && *tmp != '\0') ? tmp : "/tmp";
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
