// JSON Lines: one object a line, written as each finding and diagnostic
// arrives, then a summary. Bytes that UTF-8 cannot carry unchanged go as
// {"bytes":"<base64>"}, so that a reader gets back what the file held.
// After a C lexer's search each finding names its prefix and raw mark too.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "report/format_writer.h"
#include "report/json_string.h"

namespace quillmark::report {

std::unique_ptr<FormatWriter> MakeJsonLinesWriter(const ReportContext& context);

// Standard base64 (RFC 4648 alphabet, "=" padding).
std::string Base64(std::string_view bytes);

}  // namespace quillmark::report
