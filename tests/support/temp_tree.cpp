#include "tests/support/temp_tree.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/path.h"

namespace quillmark::testing {
namespace fs = std::filesystem;

TempTree::TempTree() {
  std::string pattern = (fs::temp_directory_path() / "quillmark-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  root_ = platform::MakeAbsolutePath(pattern).value();
}

TempTree::~TempTree() {
  std::error_code ignored;
  // Folders made unwritable by a test must be writable again to be removed.
  for (auto it = fs::recursive_directory_iterator(root_, ignored); it != fs::recursive_directory_iterator();
       it.increment(ignored)) {
    if (it->is_directory(ignored) && !it->is_symlink(ignored))
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  }
  fs::remove_all(root_, ignored);
}

std::string TempTree::PathOf(std::string_view relative) const { return platform::JoinPath(root_, relative); }

void TempTree::WriteFile(std::string_view relative, std::string_view bytes) const {
  const fs::path path = PathOf(relative);
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void TempTree::MakeFolder(std::string_view relative) const { fs::create_directories(PathOf(relative)); }

void TempTree::MakeLink(std::string_view relative, const std::string& target) const {
  const fs::path path = PathOf(relative);
  fs::create_directories(path.parent_path());
  fs::create_symlink(target, path);
}

void TempTree::MakeFifo(std::string_view relative) const {
  if (mkfifo(PathOf(relative).c_str(), 0600) != 0) throw std::runtime_error("mkfifo failed");
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

ScopedCurrentDirectory::ScopedCurrentDirectory(const std::string& folder) : previous_(platform::CurrentDirectory().value_or("/")) {
  if (chdir(folder.c_str()) != 0) throw std::runtime_error("chdir failed: " + folder);
}

ScopedCurrentDirectory::~ScopedCurrentDirectory() { (void)chdir(previous_.c_str()); }

}  // namespace quillmark::testing
