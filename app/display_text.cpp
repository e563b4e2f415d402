#include "app/display_text.h"

#include "platform/code_page.h"

namespace quillmark::app {

std::string ToDisplayText(std::string_view bytes) {
  if (platform::IsValidUtf8(bytes)) return std::string(bytes);
  return platform::Cp932ToUtf8(bytes);
}

}  // namespace quillmark::app
