#include "bench/temp_folder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "platform/path.h"

namespace quillmark::bench {

TempFolder::TempFolder(std::string_view prefix) {
  const char* tmpdir = std::getenv("TMPDIR");
  std::string pattern = platform::JoinPath(tmpdir != nullptr && *tmpdir != '\0' ? tmpdir : "/tmp", prefix);
  pattern += "-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr)
    throw std::runtime_error("cannot make a temporary folder " + pattern + ": " + std::strerror(errno));
  path_ = platform::MakeAbsolutePath(pattern).value();
}

TempFolder::~TempFolder() { RemoveTree(path_); }

void RemoveTree(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
}

}  // namespace quillmark::bench
