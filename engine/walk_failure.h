// Why a walk ended early, kept for the front ends to tell the user.
#pragma once

#include <cerrno>
#include <string>
#include <utility>

#include "platform/system_error.h"

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

  // A lack of memory met while scanning `path` (none: elsewhere).
  static WalkFailure OutOfMemory(std::string path = {}) {
    return WalkFailure{Kind::OutOfMemory, std::move(path), platform::SystemError::FromCode(ENOMEM).reason};
  }
};

}  // namespace quillmark::engine
