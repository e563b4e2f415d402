#include "platform/glob.h"

#include <fnmatch.h>

namespace quillmark::platform {

bool MatchesGlob(const std::string& pattern, const std::string& text) {
  const int flags = pattern.find("**") == std::string::npos ? FNM_PATHNAME : 0;
  return fnmatch(pattern.c_str(), text.c_str(), flags) == 0;
}

}  // namespace quillmark::platform
