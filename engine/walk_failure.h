// Why a walk ended early, kept for the front ends to tell the user.
#pragma once

#include <string>

namespace quillmark::engine {

struct WalkFailure {
  enum class Kind {
    None,               // the walk reached its end
    Stopped,            // a stop request
    CannotOpenFile,     // a matching file could not be opened
    CannotReadFile,     // a read of a matching file failed part way
    CannotResolveRoot,  // a relative root, and the current folder is unknown
    OutOfMemory,
  };
  Kind kind = Kind::None;
  std::string path;    // the file or folder concerned; empty when none is
  std::string reason;  // the system's words for it, where it gave any
};

}  // namespace quillmark::engine
