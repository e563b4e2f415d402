// What the engine needs of the program that runs it.
#pragma once

#include <string>
#include <string_view>

#include "engine/finding.h"

namespace quillmark::engine {

// Receives the running account of a search.
class TraceSink {
 public:
  virtual ~TraceSink() = default;

  // Appends one whole trace line (given without its line end). Lines are
  // never cut, whatever their length; nothing need show until FlushTrace.
  virtual void Trace(std::string_view line) = 0;

  // Shows everything traced so far.
  virtual void FlushTrace() = 0;

  // False when the host keeps no trace lines at all: the engine then spares
  // itself building them and makes no Trace calls.
  virtual bool WantsTrace() const { return true; }
};

class FinderHost : public TraceSink {
 public:
  // Appends a finding at the end of the host's list, at once.
  virtual void AddFinding(const Finding& finding) = 0;

  // True once the user asked the current search to stop.
  virtual bool IsStopRequested() = 0;

  // The search root as entered, trimmed: the base of relative paths.
  virtual std::string GetRootPath() = 0;

  // Lets the user interface react between folders. False when the
  // application is quitting, which ends the walk.
  virtual bool PumpMessages() = 0;
};

}  // namespace quillmark::engine
