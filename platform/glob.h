// Shell-style patterns for the paths a walk passes over.
#pragma once

#include <string>

namespace quillmark::platform {

// Whether `text` matches the glob `pattern` ("*", "?", "[...]"). A "*"
// stops at "/" unless the pattern holds "**", which is how a pattern
// crosses folders.
bool MatchesGlob(const std::string& pattern, const std::string& text);

}  // namespace quillmark::platform
