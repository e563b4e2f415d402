// Builds trace lines by concatenation into one reused buffer: a line is
// never cut, and the hot path allocates nothing once the buffer has grown.
#pragma once

#include <string>
#include <string_view>

namespace quillmark::engine {

class TraceText {
 public:
  template <class... Parts>
  std::string_view Format(const Parts&... parts) {
    text_.clear();
    (text_.append(std::string_view(parts)), ...);
    return text_;
  }

 private:
  std::string text_;
};

}  // namespace quillmark::engine
