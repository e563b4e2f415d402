// Where a search's reports go: one call per entry of the walk, in the
// walk's order, all on the thread that called Walk.
#pragma once

#include "engine/file_report.h"

namespace quillmark::engine {

class SearchSink {
 public:
  virtual ~SearchSink() = default;
  // The next entry's report. The sink may take what it keeps out of it
  // (the findings, say); the rest is cleared after the call.
  virtual void Take(FileReport& report) = 0;
};

}  // namespace quillmark::engine
