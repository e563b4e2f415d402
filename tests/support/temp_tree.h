// Real folder trees on disk, made by a test and removed after it.
#pragma once

#include <string>
#include <string_view>

namespace quillmark::testing {

class TempTree {
 public:
  TempTree();
  ~TempTree();
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  // The absolute path of the tree's top folder.
  const std::string& Root() const { return root_; }
  // Root() + "/" + relative.
  std::string PathOf(std::string_view relative) const;

  // Writes `bytes` to a file, making the folders above it.
  void WriteFile(std::string_view relative, std::string_view bytes) const;
  void MakeFolder(std::string_view relative) const;
  void MakeLink(std::string_view relative, const std::string& target) const;
  void MakeFifo(std::string_view relative) const;

 private:
  std::string root_;
};

// Reads a whole file; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// Runs `body` with the current directory set to `folder`, then restores it.
class ScopedCurrentDirectory {
 public:
  explicit ScopedCurrentDirectory(const std::string& folder);
  ~ScopedCurrentDirectory();
  ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
  ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

 private:
  std::string previous_;
};

}  // namespace quillmark::testing
