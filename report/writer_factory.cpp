#include "report/writer_factory.h"

#include "report/csv_writer.h"
#include "report/json_lines_writer.h"
#include "report/po_writer.h"
#include "report/sarif_writer.h"

namespace quillmark::report {

std::optional<ReportFormat> ReportFormatNamed(std::string_view name) {
  for (const ReportFormatName& entry : kReportFormats)
    if (entry.name == name) return entry.format;
  return std::nullopt;
}

std::unique_ptr<FormatWriter> MakeFormatWriter(ReportFormat format, const ReportContext& context) {
  switch (format) {
    case ReportFormat::Json: return MakeJsonLinesWriter(context);
    case ReportFormat::Sarif: return MakeSarifWriter(context);
    case ReportFormat::Po: return MakePoWriter(context);
    case ReportFormat::Csv: break;
  }
  return MakeCsvWriter(context);
}

}  // namespace quillmark::report
