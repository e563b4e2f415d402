// Bytes from the engine become text of the program's code page (UTF-8).
#pragma once

#include <string>
#include <string_view>

namespace quillmark::app {

// `bytes` as they are when they are valid UTF-8, else decoded as CP932, so
// that Shift_JIS reads correctly and nothing is ever dropped.
std::string ToDisplayText(std::string_view bytes);

}  // namespace quillmark::app
