// Path handling. On POSIX "/" is the only separator; on Windows a
// backslash is the separator given back, "/" is accepted as one, a root is
// a drive (C:\) or a share (\\server\share), and names compare without
// regard to case as the system compares them.
#pragma once

#include <string>
#include <string_view>

#include "platform/system_error.h"

namespace quillmark::platform {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The absolute, lexically normalised form of `path`: made absolute against
// the current directory, "." and ".." resolved without looking at links,
// repeated separators folded, no trailing separator except for "/" itself.
// For a relative path, the error when the current directory cannot be
// known (it was removed, say).
Result<std::string> MakeAbsolutePath(std::string_view path);

// Lexical normalisation of an already absolute path (see MakeAbsolutePath).
std::string NormalizeAbsolutePath(std::string_view absolutePath);

// `folder` + "/" + `name`, without doubling the separator when `folder`
// already ends in one.
std::string JoinPath(std::string_view folder, std::string_view name);

// The path of `file` relative to `folder`, both absolute and normalised.
// A file inside the folder gets its components below the folder joined by
// "/"; otherwise the result climbs out with ".." components first. Empty
// when the two share no leading component.
std::string RelativePath(std::string_view folder, std::string_view file);

// The folder that holds the file at `absolutePath`, normalised: the root
// itself for a file in it.
std::string ParentFolder(std::string_view absolutePath);

// The current directory, or why it cannot be known (removed, or not
// reachable).
Result<std::string> CurrentDirectory();

}  // namespace quillmark::platform
