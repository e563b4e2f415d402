// CSV (RFC 4180) of the findings alone, for a spreadsheet: a UTF-8
// byte-order mark, the header path,line,column,text,encoding, CR LF after
// every record. After a C lexer's search two more columns, prefix and raw
// (true or false), end the header and every row. Diagnostics make no rows.
#pragma once

#include <memory>

#include "report/format_writer.h"

namespace quillmark::report {

std::unique_ptr<FormatWriter> MakeCsvWriter(const ReportContext& context);

}  // namespace quillmark::report
