// A path the walk gives, with the system's separator written "/", so that
// one expectation holds on POSIX and on Windows.
#pragma once

#include <algorithm>
#include <string>

#include "platform/path.h"

namespace quillmark::testing {

inline std::string Slashed(std::string path) {
  std::replace(path.begin(), path.end(), platform::kPathSeparator, '/');
  return path;
}

// The separator a report puts between its root and a relative path, as
// bytes and as a JSON string writes it.
inline const std::string kJoin(1, platform::kPathSeparator);
inline const std::string kJsonJoin = platform::kPathSeparator == '/' ? "/" : "\\\\";

}  // namespace quillmark::testing
