#include "tests/support/temp_tree.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "platform/path.h"

namespace quillmark::testing {
namespace fs = std::filesystem;
namespace {

// Paths are UTF-8 here; on Windows a narrow std::filesystem path would be
// read in the ANSI code page.
fs::path Native(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

std::string Utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace

TempTree::TempTree() {
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 100 && root_.empty(); ++attempt) {
    const fs::path candidate = fs::temp_directory_path() / ("quillmark-test-" + std::to_string(random() % 1000000000u));
    if (fs::create_directory(candidate)) root_ = platform::MakeAbsolutePath(Utf8(candidate)).value();
  }
  if (root_.empty()) throw std::runtime_error("cannot make a temporary folder");
}

TempTree::~TempTree() {
  std::error_code ignored;
  // Folders made unwritable by a test must be writable again to be removed.
  for (auto it = fs::recursive_directory_iterator(Native(root_), ignored); it != fs::recursive_directory_iterator();
       it.increment(ignored)) {
    if (it->is_directory(ignored) && !it->is_symlink(ignored))
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  }
  fs::remove_all(Native(root_), ignored);
}

std::string TempTree::PathOf(std::string_view relative) const { return platform::JoinPath(root_, relative); }

void TempTree::WriteFile(std::string_view relative, std::string_view bytes) const {
  const fs::path path = Native(PathOf(relative));
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + Utf8(path));
}

void TempTree::MakeFolder(std::string_view relative) const { fs::create_directories(Native(PathOf(relative))); }

void TempTree::MakeLink(std::string_view relative, const std::string& target) const {
  const fs::path path = Native(PathOf(relative));
  fs::create_directories(path.parent_path());
  fs::create_symlink(Native(target), path);
}

void TempTree::MakeFifo(std::string_view relative) const {
#ifdef _WIN32
  throw std::runtime_error("no FIFO on this system: " + PathOf(relative));
#else
  if (mkfifo(PathOf(relative).c_str(), 0600) != 0) throw std::runtime_error("mkfifo failed");
#endif
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(Native(path), std::ios::binary);
  std::ostringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

ScopedCurrentDirectory::ScopedCurrentDirectory(const std::string& folder) : previous_(platform::CurrentDirectory().value_or("/")) {
  fs::current_path(Native(folder));
}

ScopedCurrentDirectory::~ScopedCurrentDirectory() {
  std::error_code ignored;
  fs::current_path(Native(previous_), ignored);
}

}  // namespace quillmark::testing
