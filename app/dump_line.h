// The lines that the list dump writes into the log.
#pragma once

#include <string>
#include <string_view>

namespace quillmark::app {

inline constexpr std::string_view kDumpStartLine = "============== リスト出力開始";
inline constexpr std::string_view kDumpEndLine = "============== リスト出力終了";

// One row: path, " : ", the line number right-aligned in 4 places, all of
// it padded with spaces to 30 bytes, a space, and the text in double
// quotes. A line text that is no number counts as 0.
std::string FormatDumpLine(std::string_view path, std::string_view line, std::string_view text);

}  // namespace quillmark::app
