#include "bench/plain_reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string_view>

#include "platform/folder_listing.h"
#include "platform/path.h"

namespace quillmark::bench {
namespace {

bool HasListedExtension(std::string_view name, const std::vector<std::string>& extensions) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot + 1 == name.size()) return false;
  const std::string_view extension = name.substr(dot + 1);
  for (const std::string& listed : extensions)
    if (listed == extension) return true;
  return false;
}

using FileVisitor = std::function<void(const std::string& path)>;

void VisitSourceFiles(const std::string& folder, const std::vector<std::string>& extensions,
                      const FileVisitor& visit) {
  const auto listing = platform::ListFolder(folder);
  if (!listing) return;
  for (const platform::FolderEntry& entry : listing->entries) {
    if (entry.kind == platform::EntryKind::Folder)
      VisitSourceFiles(platform::JoinPath(folder, entry.name), extensions, visit);
    else if (entry.kind == platform::EntryKind::File && HasListedExtension(entry.name, extensions))
      visit(platform::JoinPath(folder, entry.name));
  }
}

[[noreturn]] void Fail(const std::string& what, const std::string& path) {
  throw std::runtime_error(what + " " + path + ": " + std::strerror(errno));
}

std::uint64_t ReadFile(const std::string& path, std::vector<char>& buffer) {
  std::uint64_t total = 0;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) Fail("cannot open", path);
  for (;;) {
    const ssize_t count = ::read(fd, buffer.data(), buffer.size());
    if (count == 0) break;
    if (count < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      ::close(fd);
      errno = error;
      Fail("cannot read", path);
    }
    total += static_cast<std::uint64_t>(count);
  }
  ::close(fd);
  return total;
}

}  // namespace

std::vector<std::string> ListSourceFiles(const std::string& root, const std::vector<std::string>& extensions) {
  std::vector<std::string> paths;
  VisitSourceFiles(platform::MakeAbsolutePath(root).value(), extensions,
                   [&paths](const std::string& path) { paths.push_back(path); });
  return paths;
}

std::uint64_t ReadSourceTree(const std::string& root, const std::vector<std::string>& extensions,
                             std::vector<char>& buffer) {
  std::uint64_t total = 0;
  VisitSourceFiles(platform::MakeAbsolutePath(root).value(), extensions,
                   [&](const std::string& path) { total += ReadFile(path, buffer); });
  return total;
}

std::uint64_t ReadFiles(const std::vector<std::string>& paths, std::vector<char>& buffer) {
  std::uint64_t total = 0;
  for (const std::string& path : paths) total += ReadFile(path, buffer);
  return total;
}

}  // namespace quillmark::bench
