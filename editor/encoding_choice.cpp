#include "editor/encoding_choice.h"

namespace quillmark::editor {
namespace {

char AsciiLower(char byte) { return (byte >= 'A' && byte <= 'Z') ? static_cast<char>(byte - 'A' + 'a') : byte; }

bool BeginsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (prefix.size() > text.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (AsciiLower(text[i]) != AsciiLower(prefix[i])) return false;
  }
  return true;
}

}  // namespace

std::size_t EncodingItemFor(const std::vector<std::string>& items, std::string_view encoding) {
  if (encoding.empty()) return 0;
  for (std::size_t step = 1; step <= items.size(); ++step) {
    const std::size_t index = step % items.size();
    if (BeginsWithIgnoringCase(items[index], encoding)) return index;
  }
  return 0;
}

}  // namespace quillmark::editor
