// The report forms by name, and the one place a writer is made for one:
// quillmark-scan's --format and the window's Save both come here.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string_view>

#include "report/format_writer.h"

namespace quillmark::report {

enum class ReportFormat { Csv, Json, Sarif, Po };

struct ReportFormatName {
  ReportFormat format;
  std::string_view name;  // as --format spells it
};

// In the order the window's save dialog offers the file types.
inline constexpr std::array<ReportFormatName, 4> kReportFormats = {{
    {ReportFormat::Csv, "csv"},
    {ReportFormat::Json, "json"},
    {ReportFormat::Sarif, "sarif"},
    {ReportFormat::Po, "po"},
}};

// The form named `name` exactly; nothing for any other.
std::optional<ReportFormat> ReportFormatNamed(std::string_view name);

std::unique_ptr<FormatWriter> MakeFormatWriter(ReportFormat format, const ReportContext& context);

}  // namespace quillmark::report
