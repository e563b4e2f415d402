// Writes what a scan finds into the report of the entry being scanned, as
// the search's options ask: trace lines and findings rendered where the
// front end gave a renderer, kept as values where it did not.
#pragma once

#include <string>
#include <string_view>

#include "engine/file_report.h"
#include "engine/search_options.h"

namespace quillmark::engine {

class ReportBuilder {
 public:
  // The options are not owned and must outlive the builder.
  explicit ReportBuilder(const SearchOptions& options)
      : tracing_(options.trace),
        countingColumns_(options.columns),
        traceRenderer_(options.traceRenderer),
        findingRenderer_(options.findingRenderer) {}

  // Where what follows goes; not owned.
  void SetReport(FileReport& report) { report_ = &report; }
  FileReport& Report() const { return *report_; }

  bool Tracing() const { return tracing_; }
  bool CountingColumns() const { return countingColumns_; }

  // One trace line made of `parts`, never cut whatever its length.
  template <class... Parts>
  void Trace(const Parts&... parts) {
    if (!tracing_) return;
    if (traceRenderer_ == nullptr) {
      (report_->trace.append(std::string_view(parts)), ...);
      report_->trace += '\n';
      return;
    }
    line_.clear();
    (line_.append(std::string_view(parts)), ...);
    traceRenderer_->Render(line_, report_->trace);
  }

  void AddFinding(const Finding& finding) {
    ++report_->findingCount;
    if (findingRenderer_ != nullptr) findingRenderer_->Render(finding, report_->rendered);
    else report_->findings.push_back(finding);
  }

  void Diagnose(Diagnostic diagnostic) { report_->diagnostics.push_back(std::move(diagnostic)); }

 private:
  const bool tracing_;
  const bool countingColumns_;
  const TraceRenderer* const traceRenderer_;
  const FindingRenderer* const findingRenderer_;
  FileReport* report_ = nullptr;
  std::string line_;  // the line being rendered, its memory reused
};

}  // namespace quillmark::engine
