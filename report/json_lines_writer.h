// JSON Lines: one object a line, written as each finding and diagnostic
// arrives, then a summary. Bytes that UTF-8 cannot carry unchanged go as
// {"bytes":"<base64>"}, so that a reader gets back what the file held.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "report/format_writer.h"

namespace quillmark::report {

std::unique_ptr<FormatWriter> MakeJsonLinesWriter(const ReportContext& context);

// Standard base64 (RFC 4648 alphabet, "=" padding).
std::string Base64(std::string_view bytes);

// Appends `utf8` as a quoted JSON string: '"', '\' and U+0000-U+001F
// escaped (the last as \u00XX), every other character as it is. The text
// must be valid UTF-8.
void AppendJsonString(std::string_view utf8, std::string& out);

}  // namespace quillmark::report
