// What a front end does before a walk: the root as typed, the extension
// list from its setting, and the engine for the encoding setting.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/source_finder.h"

namespace quillmark::engine {

// Removes leading and trailing single-byte white space (space, tab, LF,
// VT, FF, CR). A double-byte character, a full-width space included, stays.
std::string TrimRootPath(std::string_view text);

// Splits a FileExt setting ("c;cpp;h;hpp") at ";": empty tokens give
// nothing, one leading "." is dropped from each, an entry left empty is
// skipped; order, case, blanks and duplicates are kept.
std::vector<std::string> BuildExtensionList(std::string_view fileExt);

// The engine for an Encoding setting: "SJIS", "EUC", "UTF8" or "AUTO",
// compared exactly.
// Null for any other value.
std::unique_ptr<SourceFinder> CreateSourceFinder(std::string_view encoding);

// The message for an Encoding setting that CreateSourceFinder refuses.
std::string UnsupportedEncodingMessage(std::string_view encoding);

}  // namespace quillmark::engine
