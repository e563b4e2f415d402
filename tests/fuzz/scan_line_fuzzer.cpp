// LiteralScanner over random files in Shift_JIS, EUC-JP and UTF-8, read
// through TextFile as the walk reads them, compared event by event with a
// slow literal re-implementation, plus the order and shape of what the
// scan writes into its report.
//
// Input: a flags byte, an offset byte, then the file. Flags: bit 0 EUC-JP,
// bit 4 UTF-8 (over bit 0), Shift_JIS without either; bit 1 the file starts
// inside a block comment, bit 2 a long first line pushes the file's bytes
// across the reader's 64 KiB buffer boundary (the offset byte places them),
// bit 3 that first line has no line end.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "engine/encoding_rules.h"
#include "engine/file_report.h"
#include "engine/literal_scanner.h"
#include "engine/report_builder.h"
#include "engine/search_options.h"
#include "platform/text_file.h"
#include "report/finding_text.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/reference_line_scanner.h"
#include "tests/fuzz/scratch_folder.h"

namespace quillmark::fuzz {
namespace {

constexpr std::size_t kReadBufferBytes = 64 * 1024;

// Renders trace lines and findings as events in the order the scanner
// makes them: a report keeps the two apart, and the order is what is
// checked. One thread only, so the const renderers may write through the
// pointer.
class EventRecorder final : public engine::TraceRenderer, public engine::FindingRenderer {
 public:
  explicit EventRecorder(std::vector<ScanEvent>& events) : events_(&events) {}
  void Render(std::string_view line, std::string& out) const override {
    events_->push_back({false, std::string(line), {}, {}, {}});
    out.append(line).push_back('\n');
  }
  void Render(const engine::Finding& f, std::string&) const override {
    events_->push_back({true, {}, report::RecordedText(f), report::LineText(f), f.path, f.encoding});
  }

 private:
  std::vector<ScanEvent>* events_;
};

// A scanner writing into one report through the recorder.
struct RecordingScan {
  explicit RecordingScan(const engine::EncodingRules& rules)
      : recorder(events), out(Options(recorder)), scanner(out, rules) {
    out.SetReport(report);
  }
  static engine::SearchOptions Options(const EventRecorder& recorder) {
    engine::SearchOptions options;
    options.traceRenderer = &recorder;
    options.findingRenderer = &recorder;
    return options;
  }

  std::vector<ScanEvent> events;
  EventRecorder recorder;
  engine::FileReport report;
  engine::ReportBuilder out;
  engine::LiteralScanner scanner;
};

struct ScanOutcome {
  std::vector<ScanEvent> events;
  long linesScanned = 0;
  bool inCommentAtEnd = false;
};

const engine::EncodingRules& RulesFor(SourceEncoding encoding) {
  switch (encoding) {
    case SourceEncoding::EucJp:
      return engine::EucJpRules();
    case SourceEncoding::Utf8:
      return engine::Utf8Rules();
    case SourceEncoding::ShiftJis:
      break;
  }
  return engine::ShiftJisRules();
}

// The file's lines as the walk hands them over: a view into the reader's
// buffer, with the reader's word on whether a NUL may be in it.
ScanOutcome ScanWithEngine(RecordingScan& scan, platform::TextFile& file, const std::string& filePath,
                           const std::string& relativePath, bool inComment) {
  scan.events.clear();
  scan.report.Clear();
  engine::LiteralScanner& scanner = scan.scanner;
  Check(file.Open(filePath).ok(), "the scratch file opens");
  scanner.SetPosition(1, relativePath);
  ScanOutcome outcome;
  std::string_view line;
  for (long number = 1; file.ReadLine(line); ++number) {
    if (!scanner.ScanLine(line, inComment, file.MayHoldNul())) break;
    outcome.linesScanned = number;
    scanner.NextLine();
  }
  Check(file.ReadStatus().ok(), "the scratch file reads to its end");
  file.Close();
  std::size_t findings = 0;
  std::string trace;
  for (const ScanEvent& e : scan.events) {
    if (e.isFinding) ++findings;
    else trace += e.trace + '\n';
  }
  Check(scan.report.findingCount == findings && scan.report.findings.empty(), "every finding is rendered, none kept");
  Check(scan.report.trace == trace, "the report's trace is its lines as rendered");
  outcome.events = std::move(scan.events);
  outcome.inCommentAtEnd = inComment;
  return outcome;
}

ScanOutcome ScanWithReference(SourceEncoding encoding, const std::vector<std::string>& lines,
                              const std::string& relativePath, bool inComment) {
  ReferenceLineScanner scanner(encoding);
  ScanOutcome outcome;
  long line = 1;
  for (const std::string& text : lines) {
    if (!scanner.ScanLine(text, inComment, line, relativePath, outcome.events)) break;
    outcome.linesScanned = line++;
  }
  outcome.inCommentAtEnd = inComment;
  return outcome;
}

std::string Describe(const std::vector<ScanEvent>& events) {
  std::string out;
  for (const ScanEvent& e : events)
    out += e.isFinding ? "  finding [" + Escaped(e.text) + "] " + e.line + " " + e.path + " encoding " +
                             std::to_string(static_cast<int>(e.encoding)) + "\n"
                       : "  trace " + Escaped(e.trace) + "\n";
  return out;
}

// What must hold of any scan, whatever the oracle says.
void CheckShape(SourceEncoding encoding, const ScanOutcome& outcome, const std::string& relativePath) {
  const std::vector<ScanEvent>& events = outcome.events;
  long lastLine = 0;
  for (std::size_t i = 0; i < events.size(); ++i) {
    const ScanEvent& e = events[i];
    if (e.trace.starts_with("Error: missing string terminator : "))
      Check(i + 1 == events.size(), "nothing follows a missing terminator");
    if (!e.isFinding) continue;
    Check(i >= 2 && !events[i - 1].isFinding && !events[i - 2].isFinding, "a finding follows two trace lines");
    Check(events[i - 1].trace == ">> " + relativePath + " : " + e.line, "a finding follows its '>>' line");
    Check(e.path == relativePath, "a finding carries the file's path");
    Check(e.encoding == encoding, "a finding carries the file's encoding");
    const long line = std::stol(e.line);
    Check(std::to_string(line) == e.line && line >= lastLine && line >= 1, "finding lines are in reading order");
    lastLine = line;
    const std::string& checked = events[i - 2].trace;
    Check(checked.starts_with("checking string:"), "a finding's literal was traced as checked");
    const std::string content = checked.substr(16);
    std::string padded = content;
    if (padded.size() < 20) padded.resize(20, ' ');
    if (encoding == SourceEncoding::EucJp) {
      Check(e.text == ReferenceEucToShiftJis(padded), "an EUC-JP finding's text is its padded content converted");
    } else {
      Check(e.text.size() >= 20, "a finding's text is at least 20 bytes");
      Check(e.text == padded && e.text.starts_with(content), "a finding's text is its padded content as written");
    }
  }
}

void ScanAndCompare(SourceEncoding encoding, const std::string& bytes, bool inComment) {
  const std::string filePath = ScratchFolder() + "/source.c";
  std::FILE* out = std::fopen(filePath.c_str(), "wb");
  Check(out != nullptr, "the scratch file can be written");
  Check(std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size() && std::fclose(out) == 0,
        "the scratch file is written");

  // One scanner and one reader take the file twice under two paths, as a
  // walk reuses them for every file: nothing of the first scan may leak
  // into the second. The scanner starts out with other rules, as it does
  // when the walk picks each file's encoding.
  const auto other = static_cast<SourceEncoding>((static_cast<int>(encoding) + 1) % 3);
  RecordingScan scan(RulesFor(other));
  scan.scanner.SetRules(RulesFor(encoding));
  platform::TextFile file;
  const std::vector<std::string> lines = ReferenceTextLines(bytes);
  for (const std::string relativePath : {"f.c", "sub/g.c"}) {
    const ScanOutcome engine = ScanWithEngine(scan, file, filePath, relativePath, inComment);
    const ScanOutcome reference = ScanWithReference(encoding, lines, relativePath, inComment);
    CheckShape(encoding, engine, relativePath);
    if (engine.events != reference.events) {
      std::fprintf(stderr, "engine:\n%sreference:\n%s", Describe(engine.events).c_str(),
                   Describe(reference.events).c_str());
      Check(false, "the engine's trace lines and findings equal the reference's");
    }
    Check(engine.linesScanned == reference.linesScanned, "the engine scans as many lines as the reference");
    Check(engine.inCommentAtEnd == reference.inCommentAtEnd, "the comment state flows from line to line");
  }
}

}  // namespace
}  // namespace quillmark::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillmark;
  if (size < 2) return 0;
  const std::uint8_t flags = data[0];
  const std::uint8_t offset = data[1];
  std::string bytes;
  if (flags & 4) {
    // A first line ending `offset` bytes before the buffer boundary.
    const std::size_t lead = fuzz::kReadBufferBytes - offset;
    bytes.assign(lead, 'a');
    if (!(flags & 8)) bytes.back() = '\n';
  }
  bytes.append(reinterpret_cast<const char*>(data + 2), size - 2);
  auto encoding = engine::SourceEncoding::ShiftJis;
  if (flags & 1) encoding = engine::SourceEncoding::EucJp;
  if (flags & 16) encoding = engine::SourceEncoding::Utf8;
  fuzz::ScanAndCompare(encoding, bytes, flags & 2);
  return 0;
}
