// What scanning one file told its host, kept in order so that it can be
// told again later, on another thread: how files scanned ahead of the
// walk report exactly as they would have at their turn.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/finder_host.h"

namespace quillmark::engine {

struct ScanRecord {
  enum class Call : std::uint8_t { Trace, RenderedTrace, AddFinding, RenderedFinding, Diagnose, FileScanned };
  struct RecordedFinding {
    std::size_t contentEnd = 0;  // in `contents`, after the previous one's end
    std::int64_t line = 0;
    std::int64_t column = 0;
    SourceEncoding encoding = SourceEncoding::ShiftJis;
    char quote = '"';
  };

  std::vector<Call> calls;
  // Each kind of call's arguments in their order; text kept end to end.
  std::string traceText;  // lines, or what the trace renderer made of them
  std::vector<std::size_t> traceEnds;
  std::string contents;
  std::vector<RecordedFinding> findings;
  // With a renderer: each finding's text instead, end to end, and where
  // each ends.
  std::string rendered;
  std::vector<std::size_t> renderedEnds;
  std::vector<Diagnostic> diagnostics;
  std::vector<ScannedFile> scannedFiles;
  bool outOfMemory = false;  // the scan ran short of memory after the calls kept

  // Empty again, its memory kept for the next file.
  void Clear();
};

// A host for a file scan away from the walk: keeps every call in a record.
// It never stops and never pumps; the real host does both at the file's
// turn.
class RecordingHost final : public FinderHost {
 public:
  // `wantsTrace` is the real host's answer; the renderers, where not
  // null, are its own, which make each finding's text and each trace
  // line's at once.
  // `wantsColumns` is its answer too.
  explicit RecordingHost(bool wantsTrace, const FindingRenderer* renderer = nullptr,
                         const TraceRenderer* traceRenderer = nullptr, bool wantsColumns = true)
      : wantsTrace_(wantsTrace), wantsColumns_(wantsColumns), renderer_(renderer), traceRenderer_(traceRenderer) {}

  // Where the calls go from now on; not owned.
  void SetRecord(ScanRecord* record) { record_ = record; }

  void Trace(std::string_view line) override;
  void FlushTrace() override {}
  bool WantsTrace() const override { return wantsTrace_; }
  bool WantsColumns() const override { return wantsColumns_; }
  void AddFinding(const Finding& finding) override;
  void Diagnose(const Diagnostic& diagnostic) override;
  void FileScanned(const ScannedFile& file) override;
  bool IsStopRequested() override { return false; }
  std::string GetRootPath() override { return {}; }
  bool PumpMessages() override { return true; }

 private:
  bool wantsTrace_;
  bool wantsColumns_;
  const FindingRenderer* renderer_;
  const TraceRenderer* traceRenderer_;
  ScanRecord* record_ = nullptr;
};

// Makes every call of `record` on `host`, in order; the findings are of
// the file `relativePath`; rendered lines go to AddRenderedTrace, and
// rendered findings in a row to one AddRenderedFindings.
// `scratch` is reused from file to file.
void Replay(const ScanRecord& record, const std::string& relativePath, FinderHost& host, Finding& scratch);

}  // namespace quillmark::engine
