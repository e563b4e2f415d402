// A SARIF 2.1.0 log of a search: one run, each finding a result of the one
// rule, each diagnostic a notification of the invocation. Paths are URIs
// relative to the base id SRCROOT, the root's file: URI. After a C lexer's
// search each result's properties name its prefix and raw mark.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "report/format_writer.h"

namespace quillmark::report {

// Writes the whole log at End.
std::unique_ptr<FormatWriter> MakeSarifWriter(const ReportContext& context);

// `path` with every byte but A-Z a-z 0-9 - . _ ~ and "/" written %XX.
std::string PercentEncodePath(std::string_view path);

// `text` as a JSON string, quotes included; bytes that are not UTF-8
// become U+FFFD.
std::string JsonString(std::string_view text);

}  // namespace quillmark::report
