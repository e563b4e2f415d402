// A folder made for one run and removed, with everything in it, when the
// run ends, whether it succeeded or not.
#pragma once

#include <string>
#include <string_view>

namespace quillmark::bench {

class TempFolder {
 public:
  // Makes a fresh folder named `prefix` plus a unique suffix under $TMPDIR,
  // or /tmp when that is not set. Throws std::runtime_error on failure.
  explicit TempFolder(std::string_view prefix);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// Removes `path` and everything below it; a missing path is no error.
void RemoveTree(const std::string& path);

}  // namespace quillmark::bench
