// Finding the end of a block comment.
#pragma once

#include <cstddef>
#include <string_view>

namespace quillmark::engine {

// The index of the first "*/" whose asterisk starts a character, stepping
// through `text` by Shift_JIS characters whatever the file's encoding (so
// in EUC-JP text a closer right behind some characters can be missed);
// npos when there is none.
std::size_t FindCommentCloser(std::string_view text);

// The index of the first "*/" byte pair; npos when there is none.
inline std::size_t FindCommentCloserBytes(std::string_view text) { return text.find("*/"); }

}  // namespace quillmark::engine
