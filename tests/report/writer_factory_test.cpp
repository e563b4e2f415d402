#include "report/writer_factory.h"

#include <gtest/gtest.h>

#include <string>

namespace quillmark::report {
namespace {

// Each name makes its own form, told by how its first finding starts.
TEST(MakeFormatWriter, MakesTheFormEachNameStandsFor) {
  const struct {
    std::string_view name;
    std::string_view start;  // of Begin, AddFinding and End together
  } cases[] = {
      {"csv", "\xEF\xBB\xBFpath,line,column,text,encoding\r\nr/a.c,1,2,x,SJIS-JP\r\n"},
      {"json", "{\"type\":\"finding\",\"path\":\"r/a.c\""},
      {"sarif", "{\"$schema\":"},
      {"po", "# Japanese string literals found under r by"},
  };
  for (const auto& c : cases) {
    const std::optional<ReportFormat> format = ReportFormatNamed(c.name);
    ASSERT_TRUE(format) << c.name;
    const auto writer = MakeFormatWriter(*format, {"r", "/abs/r", "0.5.0"});
    std::string out;
    writer->Begin(out);
    writer->AddFinding({"x", 1, 2, "a.c", engine::SourceEncoding::ShiftJis, '"', {}}, out);
    writer->End(ScanSummary{}, out);
    EXPECT_EQ(out.substr(0, c.start.size()), c.start) << c.name;
  }
  EXPECT_FALSE(ReportFormatNamed("grep"));
  EXPECT_FALSE(ReportFormatNamed("JSON"));
}

}  // namespace
}  // namespace quillmark::report
