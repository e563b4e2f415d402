// Conversion between the program's code page (UTF-8) and CP932, the
// Shift_JIS of Japanese Windows systems, through iconv.
#pragma once

#include <string>
#include <string_view>

namespace quillmark::platform {

// Decodes CP932 bytes to UTF-8. Never fails: each invalid or unmapped
// sequence becomes U+FFFD and decoding goes on behind it.
std::string Cp932ToUtf8(std::string_view bytes);

bool IsValidUtf8(std::string_view bytes);

}  // namespace quillmark::platform
