// What a front end does before a walk: the root as typed, the extension
// list from its setting, and the encoding from its setting.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/search_options.h"

namespace quillmark::engine {

// Removes leading and trailing single-byte white space (space, tab, LF,
// VT, FF, CR). A double-byte character, a full-width space included, stays.
std::string TrimRootPath(std::string_view text);

// Splits a FileExt setting ("c;cpp;h;hpp") at ";": empty tokens give
// nothing, one leading "." is dropped from each, an entry left empty is
// skipped; order, case, blanks and duplicates are kept.
std::vector<std::string> BuildExtensionList(std::string_view fileExt);

// The encoding for an Encoding setting: "SJIS", "EUC", "UTF8" or "AUTO",
// compared exactly. Nothing for any other value.
std::optional<SearchEncoding> EncodingForSetting(std::string_view encoding);

// The message for an Encoding setting that EncodingForSetting refuses.
std::string UnsupportedEncodingMessage(std::string_view encoding);

}  // namespace quillmark::engine
