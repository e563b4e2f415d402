// Saving a whole file so that the target holds either its old bytes or all
// the new ones, never a part: a list saved over a good file must not wreck
// it when the disk fills or the folder cannot be written.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillmark::platform {

// Writes `bytes` to a new file beside `path`, flushes it to disk and
// renames it over `path`. Nothing when done; otherwise the reason (the
// system's error text), with the temporary removed and `path` untouched.
std::optional<std::string> SaveFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace quillmark::platform
