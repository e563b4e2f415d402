// What one entry of a walk gives, as one plain value: a folder entered or a
// file scanned, with everything the search tells of it. Reports reach the
// sink one by one, strictly in the walk's order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/diagnostic.h"
#include "engine/finding.h"
#include "engine/walk_failure.h"

namespace quillmark::engine {

// A file the walk has scanned, for sinks that count.
struct ScannedFile {
  std::string_view encodingName;  // "ASCII", "SJIS-JP", "EUC-JP" or "UTF-8"
  std::uint64_t bytes = 0;        // as text-mode reading gave them
  bool endedEarly = false;        // by a literal left open on its line
};

struct FileReport {
  // The trace lines of the entry, each as the options' trace renderer made
  // it (by default the line and '\n'); empty when no trace is wanted.
  std::string trace;
  // The findings as the options' finding renderer made them, end to end;
  // with no renderer they are kept in `findings` instead.
  std::string rendered;
  FindingList findings;
  std::size_t findingCount = 0;  // rendered or kept
  std::vector<Diagnostic> diagnostics;
  bool folderListed = false;            // a folder was entered and listed
  std::optional<ScannedFile> scanned;   // a file was opened and read
  // Set when this entry ends the walk: a file that cannot be opened or
  // read, a root that cannot be resolved, a lack of memory.
  WalkFailure failure;

  // Empty again, keeping the memory for the next entry.
  void Clear() {
    trace.clear();
    rendered.clear();
    findings.clear();
    findingCount = 0;
    diagnostics.clear();
    folderListed = false;
    scanned.reset();
    failure = WalkFailure{};
  }
};

}  // namespace quillmark::engine
