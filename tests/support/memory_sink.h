// A sink that keeps a search's trace lines, findings and diagnostics in
// memory, and a walk into it.
#pragma once

#include <functional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "engine/search_sink.h"
#include "engine/source_finder.h"

namespace quillmark::testing {

class MemorySink : public engine::SearchSink {
 public:
  void Take(engine::FileReport& report) override {
    std::string_view trace = report.trace;
    while (!trace.empty()) {
      const std::size_t end = trace.find('\n');
      traceLines.emplace_back(trace.substr(0, end));
      trace.remove_prefix(end == std::string_view::npos ? trace.size() : end + 1);
    }
    findings.insert(findings.end(), report.findings.begin(), report.findings.end());
    diagnostics.insert(diagnostics.end(), report.diagnostics.begin(), report.diagnostics.end());
    folders += report.folderListed;
    ++reports;
    if (onReport) onReport(*this);
  }

  std::vector<std::string> traceLines;
  engine::FindingList findings;
  std::vector<engine::Diagnostic> diagnostics;
  int folders = 0;  // listed
  int reports = 0;
  // What the user does as each report arrives (remove a folder, stop).
  std::function<void(MemorySink&)> onReport;
  std::stop_source stop;
};

// Walks `options.root` into `sink`, with the sink's stop; true when the walk
// reached its end, `failure` (when given) telling why not.
inline bool WalkInto(MemorySink& sink, engine::SearchOptions options, engine::WalkFailure* failure = nullptr) {
  options.stop = sink.stop.get_token();
  engine::SourceFinder finder(std::move(options), sink);
  const bool completed = finder.Walk();
  if (failure) *failure = finder.Failure();
  return completed;
}

// Options for walking `root` by `rules` (null: detected per file) with the
// default extensions.
inline engine::SearchOptions OptionsFor(std::string root, const engine::EncodingRules* rules = &engine::ShiftJisRules()) {
  engine::SearchOptions options;
  options.root = std::move(root);
  options.encoding = rules ? engine::SearchEncoding{rules, rules->name} : engine::SearchEncoding{nullptr, "AUTO"};
  options.extensions = {"c", "cpp", "h", "hpp"};
  return options;
}

}  // namespace quillmark::testing
