// Scans bytes as the only file of a real temporary tree, or line by line
// through one literal scanner writing into one report.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/file_report.h"
#include "engine/literal_scanner.h"
#include "engine/report_builder.h"
#include "engine/search_options.h"
#include "tests/support/memory_sink.h"
#include "tests/support/temp_tree.h"

namespace quillmark::testing {

struct ScanResult {
  std::vector<std::string> trace;  // the scanner's lines, after "-- analyze:"
  engine::FindingList findings;
};

inline ScanResult ScanSource(std::string_view bytes, const engine::EncodingRules& rules) {
  TempTree tree;
  tree.WriteFile("f.c", bytes);
  MemorySink sink;
  engine::SearchOptions options = OptionsFor(tree.Root(), &rules);
  options.extensions = {"c"};
  EXPECT_TRUE(WalkInto(sink, std::move(options)));
  EXPECT_GE(sink.traceLines.size(), 2u);
  ScanResult result;
  if (sink.traceLines.size() >= 2) result.trace.assign(sink.traceLines.begin() + 2, sink.traceLines.end());
  result.findings = sink.findings;
  return result;
}

// The trace of a report, line by line, line ends dropped.
inline std::vector<std::string> TraceLinesOf(const engine::FileReport& report) {
  MemorySink sink;
  engine::FileReport copy = report;
  sink.Take(copy);
  return sink.traceLines;
}

// Trace lines as the bytes a report holds, each line and its LF. A line
// may hold an LF of its own (a literal left open quotes the rest of its
// line), which a sink that splits at LFs sees as an empty line behind it:
// the bytes are what to compare.
inline std::string TraceText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + '\n';
  return text;
}

// A literal scanner with default options and the report it writes into.
struct LineScan {
  explicit LineScan(const engine::EncodingRules& rules) : out(options), scanner(out, rules) { out.SetReport(report); }
  LineScan(const LineScan&) = delete;
  LineScan& operator=(const LineScan&) = delete;

  engine::SearchOptions options;
  engine::FileReport report;
  engine::ReportBuilder out;
  engine::LiteralScanner scanner;
};

// The finding's text as the engine pads it: content and spaces up to 20 bytes.
inline std::string Padded(std::string text) {
  if (text.size() < 20) text.resize(20, ' ');
  return text;
}

}  // namespace quillmark::testing
