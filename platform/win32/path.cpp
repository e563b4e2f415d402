#include "platform/path.h"

#include <vector>

#include "platform/win32/wide_text.h"

namespace quillmark::platform {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The root of an absolute path ("C:" or "\\server\share", without the
// separator after it) and the rest; an empty root for a path that is not
// absolute.
struct Rooted {
  std::string root;
  std::string_view rest;
};

Rooted SplitRoot(std::string_view path) {
  // The extended forms name the same paths without their prefix (the UNC
  // one is rewritten by NormalizeAbsolutePath before it gets here).
  if (path.starts_with("\\\\?\\") || path.starts_with("\\\\.\\")) path.remove_prefix(4);
  if (path.size() >= 3 && path[1] == ':' && IsSeparator(path[2])) {
    return {std::string(path.substr(0, 2)), path.substr(3)};
  }
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    std::size_t end = 2;
    for (int part = 0; part < 2 && end <= path.size(); ++part) {
      while (end < path.size() && !IsSeparator(path[end])) ++end;
      if (part == 0) ++end;
    }
    std::string root(path.substr(0, std::min(end, path.size())));
    for (char& c : root)
      if (c == '/') c = '\\';
    return {root, end < path.size() ? path.substr(end + 1) : std::string_view()};
  }
  return {};
}

std::vector<std::string_view> SplitComponents(std::string_view path) {
  std::vector<std::string_view> components;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = start;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    if (end > start) components.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return components;
}

bool SameName(std::string_view a, std::string_view b) {
  const std::wstring wideA = win32::ToWide(a);
  const std::wstring wideB = win32::ToWide(b);
  return CompareStringOrdinal(wideA.data(), static_cast<int>(wideA.size()), wideB.data(),
                              static_cast<int>(wideB.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

Result<std::string> CurrentDirectory() {
  const DWORD length = GetCurrentDirectoryW(0, nullptr);
  std::wstring wide(length, L'\0');
  const DWORD written = GetCurrentDirectoryW(length, wide.data());
  if (written == 0 || written >= length) return win32::LastError();
  wide.resize(written);
  return win32::ToUtf8(wide);
}

std::string NormalizeAbsolutePath(std::string_view absolutePath) {
  std::string owned;
  if (absolutePath.starts_with("\\\\?\\UNC\\")) {
    owned = "\\\\" + std::string(absolutePath.substr(8));
    absolutePath = owned;
  }
  const Rooted rooted = SplitRoot(absolutePath);
  std::vector<std::string_view> kept;
  for (std::string_view component : SplitComponents(rooted.rest)) {
    if (component == ".") continue;
    if (component == "..") {
      if (!kept.empty()) kept.pop_back();
      continue;
    }
    kept.push_back(component);
  }
  std::string result = rooted.root;
  if (kept.empty() || result.size() == 2) result += '\\';  // "C:\" keeps its separator
  for (std::size_t i = 0; i < kept.size(); ++i) {
    if (i > 0 || result.back() != '\\') result += '\\';
    result += kept[i];
  }
  return result;
}

Result<std::string> MakeAbsolutePath(std::string_view path) {
  if (!SplitRoot(path).root.empty()) return NormalizeAbsolutePath(path);
  // Relative, or relative to a drive ("C:x", "\x"): the system resolves it
  // against its current folders.
  const std::wstring wide = win32::ToWide(path.empty() ? std::string_view(".") : path);
  const DWORD length = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (length == 0) return win32::LastError();
  std::wstring full(length, L'\0');
  const DWORD written = GetFullPathNameW(wide.c_str(), length, full.data(), nullptr);
  if (written == 0 || written >= length) return win32::LastError();
  full.resize(written);
  return NormalizeAbsolutePath(win32::ToUtf8(full));
}

std::string ParentFolder(std::string_view absolutePath) {
  if (SplitRoot(absolutePath).root.empty()) return ".";
  // ".." of a root is the root itself, as normalisation has it.
  return NormalizeAbsolutePath(std::string(absolutePath) + "\\..");
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string result(folder);
  if (result.empty() || !IsSeparator(result.back())) result += '\\';
  result += name;
  return result;
}

std::string RelativePath(std::string_view folder, std::string_view file) {
  const Rooted from = SplitRoot(folder);
  const Rooted to = SplitRoot(file);
  if (from.root.empty() || to.root.empty() || !SameName(from.root, to.root)) return {};
  const std::vector<std::string_view> fromParts = SplitComponents(from.rest);
  const std::vector<std::string_view> toParts = SplitComponents(to.rest);
  std::size_t shared = 0;
  while (shared < fromParts.size() && shared + 1 < toParts.size() && SameName(fromParts[shared], toParts[shared]))
    ++shared;
  std::string result;
  for (std::size_t i = shared; i < fromParts.size(); ++i) result += "..\\";
  for (std::size_t i = shared; i < toParts.size(); ++i) {
    result += toParts[i];
    if (i + 1 < toParts.size()) result += '\\';
  }
  return result;
}

}  // namespace quillmark::platform
