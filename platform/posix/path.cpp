#include "platform/path.h"

#include <unistd.h>

#include <cerrno>
#include <utility>
#include <vector>

namespace quillmark::platform {
namespace {

std::vector<std::string_view> SplitComponents(std::string_view path) {
  std::vector<std::string_view> components;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) components.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return components;
}

}  // namespace

Result<std::string> CurrentDirectory() {
  std::vector<char> buffer(4096);
  for (;;) {
    // Linux answers "(unreachable)/..." for a folder outside the process's
    // root; only an absolute answer names a folder.
    if (getcwd(buffer.data(), buffer.size()) != nullptr) {
      if (buffer[0] == '/') return std::string(buffer.data());
      return SystemError::FromCode(ENOENT);
    }
    if (errno != ERANGE) return SystemError::FromErrno();
    buffer.resize(buffer.size() * 2);
  }
}

std::string NormalizeAbsolutePath(std::string_view absolutePath) {
  std::vector<std::string_view> kept;
  for (std::string_view component : SplitComponents(absolutePath)) {
    if (component == ".") continue;
    if (component == "..") {
      if (!kept.empty()) kept.pop_back();
      continue;
    }
    kept.push_back(component);
  }
  if (kept.empty()) return "/";
  std::string result;
  for (std::string_view component : kept) {
    result += '/';
    result += component;
  }
  return result;
}

Result<std::string> MakeAbsolutePath(std::string_view path) {
  if (!path.empty() && path.front() == '/') return NormalizeAbsolutePath(path);
  Result<std::string> current = CurrentDirectory();
  if (!current) return current.error();
  std::string joined = std::move(*current);
  joined += '/';
  joined += path;
  return NormalizeAbsolutePath(joined);
}

std::string ParentFolder(std::string_view absolutePath) {
  const std::size_t slash = absolutePath.rfind('/');
  if (slash == std::string_view::npos) return ".";
  return slash == 0 ? std::string("/") : std::string(absolutePath.substr(0, slash));
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string result(folder);
  if (result.empty() || result.back() != '/') result += '/';
  result += name;
  return result;
}

std::string RelativePath(std::string_view folder, std::string_view file) {
  // The common case first: the file lies below the folder.
  if (folder == "/" && file.size() > 1 && file.front() == '/') return std::string(file.substr(1));
  if (file.size() > folder.size() + 1 && file.starts_with(folder) && file[folder.size()] == '/')
    return std::string(file.substr(folder.size() + 1));

  const bool bothAbsolute = folder.starts_with('/') && file.starts_with('/');
  if (!bothAbsolute) return {};
  std::vector<std::string_view> from = SplitComponents(folder);
  std::vector<std::string_view> to = SplitComponents(file);
  std::size_t shared = 0;
  while (shared < from.size() && shared + 1 < to.size() && from[shared] == to[shared]) ++shared;
  std::string result;
  for (std::size_t i = shared; i < from.size(); ++i) result += "../";
  for (std::size_t i = shared; i < to.size(); ++i) {
    result += to[i];
    if (i + 1 < to.size()) result += '/';
  }
  return result;
}

}  // namespace quillmark::platform
