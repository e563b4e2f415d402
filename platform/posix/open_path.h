// Opening a file or folder by a path of any length.
#pragma once

#include <string>

namespace quillmark::platform {

// open(2) of `path` with `flags`, also for an absolute path longer than the
// system's limit for one path (PATH_MAX): such a path is opened a stretch
// of components at a time, each below the limit, from the folder reached
// so far. Links are followed as open(2) follows them. A descriptor, or -1
// with errno set.
int OpenPath(const std::string& path, int flags);

}  // namespace quillmark::platform
