#include "engine/scan_record.h"

namespace quillmark::engine {

void ScanRecord::Clear() {
  calls.clear();
  traceText.clear();
  traceEnds.clear();
  contents.clear();
  findings.clear();
  rendered.clear();
  renderedEnds.clear();
  diagnostics.clear();
  scannedFiles.clear();
  outOfMemory = false;
}

void RecordingHost::Trace(std::string_view line) {
  if (traceRenderer_) {
    record_->calls.push_back(ScanRecord::Call::RenderedTrace);
    traceRenderer_->Render(line, record_->traceText);
  } else {
    record_->calls.push_back(ScanRecord::Call::Trace);
    record_->traceText.append(line);
  }
  record_->traceEnds.push_back(record_->traceText.size());
}

void RecordingHost::AddFinding(const Finding& finding) {
  if (renderer_) {
    record_->calls.push_back(ScanRecord::Call::RenderedFinding);
    renderer_->Render(finding, record_->rendered);
    record_->renderedEnds.push_back(record_->rendered.size());
    return;
  }
  record_->calls.push_back(ScanRecord::Call::AddFinding);
  record_->contents.append(finding.content);
  record_->findings.push_back(ScanRecord::RecordedFinding{record_->contents.size(), finding.line, finding.column,
                                                          finding.encoding, finding.quote});
}

void RecordingHost::Diagnose(const Diagnostic& diagnostic) {
  record_->calls.push_back(ScanRecord::Call::Diagnose);
  record_->diagnostics.push_back(diagnostic);
}

void RecordingHost::FileScanned(const ScannedFile& file) {
  record_->calls.push_back(ScanRecord::Call::FileScanned);
  record_->scannedFiles.push_back(file);
}

void Replay(const ScanRecord& record, const std::string& relativePath, FinderHost& host, Finding& scratch) {
  const std::string_view traceText = record.traceText;
  const std::string_view contents = record.contents;
  std::size_t traces = 0, findings = 0, renderedFindings = 0, diagnostics = 0, scannedFiles = 0;
  std::size_t traceStart = 0, contentStart = 0;
  // Rendered findings in a row go to the host in one call.
  std::size_t runStart = 0, runCount = 0;
  const auto tellRun = [&] {
    if (runCount == 0) return;
    const std::size_t end = record.renderedEnds[renderedFindings - 1];
    host.AddRenderedFindings(std::string_view(record.rendered).substr(runStart, end - runStart), runCount);
    runStart = end;
    runCount = 0;
  };
  scratch.path = relativePath;
  for (const ScanRecord::Call call : record.calls) {
    if (call == ScanRecord::Call::RenderedFinding) {
      ++renderedFindings;
      ++runCount;
      continue;
    }
    tellRun();
    switch (call) {
      case ScanRecord::Call::Trace:
      case ScanRecord::Call::RenderedTrace: {
        const std::size_t end = record.traceEnds[traces++];
        const std::string_view text = traceText.substr(traceStart, end - traceStart);
        if (call == ScanRecord::Call::Trace) host.Trace(text);
        else host.AddRenderedTrace(text);
        traceStart = end;
        break;
      }
      case ScanRecord::Call::AddFinding: {
        const ScanRecord::RecordedFinding& found = record.findings[findings++];
        scratch.content.assign(contents.substr(contentStart, found.contentEnd - contentStart));
        contentStart = found.contentEnd;
        scratch.line = found.line;
        scratch.column = found.column;
        scratch.encoding = found.encoding;
        scratch.quote = found.quote;
        host.AddFinding(scratch);
        break;
      }
      case ScanRecord::Call::RenderedFinding:
        break;
      case ScanRecord::Call::Diagnose:
        host.Diagnose(record.diagnostics[diagnostics++]);
        break;
      case ScanRecord::Call::FileScanned:
        host.FileScanned(record.scannedFiles[scannedFiles++]);
        break;
    }
  }
  tellRun();
}

}  // namespace quillmark::engine
