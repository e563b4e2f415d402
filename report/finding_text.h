// How a finding reads wherever it is shown: the list, the dump, the log and
// every form of quillmark-scan make its texts here.
#pragma once

#include <string>
#include <string_view>

#include "engine/finding.h"

namespace quillmark::report {

// The content padded with spaces to 20 bytes (counted in the file's
// encoding), then in Shift_JIS (EUC-JP converted, Shift_JIS as it is) or,
// for a UTF-8 file, as written: the list's text and what --raw prints.
// A line break (a raw string's) is shown as \n, before the padding, so
// that every text that is shown as a line stays one.
std::string RecordedText(const engine::Finding& finding);

// RecordedText in UTF-8: decoded as CP932, or a UTF-8 file's as it is.
std::string DisplayText(const engine::Finding& finding);

// RecordedText without its trailing spaces, in UTF-8: the text of the
// "path:line: text" form.
std::string TrimmedText(const engine::Finding& finding);
// The same, appended to `out`: no string of its own for each finding.
void AppendTrimmedText(const engine::Finding& finding, std::string& out);

// The content alone in UTF-8, no padding, line breaks as they are: what
// the data formats carry.
std::string ContentText(const engine::Finding& finding);

// `bytes` with each byte that begins no UTF-8 character (a stray byte, an
// overlong form, a surrogate) replaced by U+FFFD: the one way the report
// forms make text UTF-8 can carry out of bytes it cannot.
std::string ToValidUtf8(std::string_view bytes);

// The line in decimal.
std::string LineText(const engine::Finding& finding);

// The encoding's name as the trace shows it: "SJIS-JP", "EUC-JP", "UTF-8".
std::string_view EncodingName(engine::SourceEncoding encoding);

// A path as the user can open it from where they stand: the root as typed,
// "/", and the path relative to it, with no doubled separator.
std::string PathFromRoot(std::string_view root, std::string_view relativePath);
void AppendPathFromRoot(std::string_view root, std::string_view relativePath, std::string& out);

}  // namespace quillmark::report
