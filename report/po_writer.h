// A gettext template (.pot) of the string literals found: one entry per
// distinct text, in the order first seen, with every place it was found.
// Character literals are left out and counted in the header comment.
#pragma once

#include <memory>
#include <string_view>

#include "report/format_writer.h"

namespace quillmark::report {

// Writes everything at End. A literal's escapes are read (ReadCEscapes);
// one whose text UTF-8 cannot carry keeps its escapes as written, with a
// comment for the translator saying so. A raw string has no escapes: its
// text is its bytes, backslashes and line breaks as written.
std::unique_ptr<FormatWriter> MakePoWriter(const ReportContext& context);

// True when `text` holds a printf conversion ("%d", "%1$-*2$.3lf"), which
// earns an entry the c-format flag; "%%" is none.
bool HasPrintfConversion(std::string_view text);

}  // namespace quillmark::report
