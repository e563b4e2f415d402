#include "engine/search_setup.h"

#include "engine/encoding_rules.h"
#include "platform/code_page.h"

namespace quillmark::engine {
namespace {

bool IsSingleByteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

std::string TrimRootPath(std::string_view text) {
  while (!text.empty() && IsSingleByteSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSingleByteSpace(text.back())) text.remove_suffix(1);
  return std::string(text);
}

std::vector<std::string> BuildExtensionList(std::string_view fileExt) {
  std::vector<std::string> extensions;
  std::size_t start = 0;
  while (start < fileExt.size()) {
    std::size_t end = fileExt.find(';', start);
    if (end == std::string_view::npos) end = fileExt.size();
    std::string_view token = fileExt.substr(start, end - start);
    start = end + 1;
    if (token.starts_with('.')) token.remove_prefix(1);
    if (!token.empty()) extensions.emplace_back(token);
  }
  return extensions;
}

std::optional<SearchEncoding> EncodingForSetting(std::string_view encoding) {
  const auto by = [](const EncodingRules& rules) { return SearchEncoding{&rules, rules.name}; };
  if (encoding == platform::kShiftJisNames.setting) return by(ShiftJisRules());
  if (encoding == platform::kEucJpNames.setting) return by(EucJpRules());
  if (encoding == platform::kUtf8Names.setting) return by(Utf8Rules());
  if (encoding == platform::kPerFileNames.setting) return SearchEncoding{nullptr, platform::kPerFileNames.shown};
  return std::nullopt;
}

std::string UnsupportedEncodingMessage(std::string_view encoding) {
  std::string message = "エラー：エンコーディング<";
  message += encoding;
  message += ">はサポートされていません。";
  return message;
}

}  // namespace quillmark::engine
