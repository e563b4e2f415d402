// What the engine needs of the program that runs it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/diagnostic.h"
#include "engine/finding.h"

namespace quillmark::engine {

// Turns a trace line into what a host keeps of it. A walk on several
// threads calls it on the threads that scan, for the lines they make, so it
// must read nothing that changes during a walk.
class TraceRenderer {
 public:
  virtual ~TraceRenderer() = default;
  // Appends what is kept of `line` to `out`.
  virtual void Render(std::string_view line, std::string& out) const = 0;
};

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

  // A host that keeps each line converted may have that done on the
  // threads that scan: AddRenderedTrace, with what its renderer made, then
  // takes the place of Trace for the lines they make. Null: none.
  virtual const TraceRenderer* GetTraceRenderer() const { return nullptr; }
  virtual void AddRenderedTrace(std::string_view rendered) { Trace(rendered); }
};

// A file the walk has scanned, for hosts that count.
struct ScannedFile {
  std::string_view encodingName;  // "ASCII", "SJIS-JP", "EUC-JP" or "UTF-8"
  std::uint64_t bytes = 0;        // as text-mode reading gave them
  bool endedEarly = false;        // by a literal left open on its line
};

// Turns a finding into the text a host shows of it. A walk on several
// threads calls it on the threads that scan, ahead of the finding's turn,
// so it must read nothing that changes during a walk.
class FindingRenderer {
 public:
  virtual ~FindingRenderer() = default;
  // Appends the finding's text to `out`.
  virtual void Render(const Finding& finding, std::string& out) const = 0;
};

class FinderHost : public TraceSink {
 public:
  // Appends a finding at the end of the host's list, at once.
  virtual void AddFinding(const Finding& finding) = 0;

  // A host that shows each finding as text may offer to have that text
  // made on the threads that scan. AddRenderedFindings then takes the
  // place of AddFinding for the findings made there: it gets the texts its
  // renderer made of `count` findings in a row, end to end. Null: none.
  virtual const FindingRenderer* GetFindingRenderer() const { return nullptr; }
  virtual void AddRenderedFindings(std::string_view /*rendered*/, std::size_t /*count*/) {}

  // False when the host reads no finding's column: the engine then spares
  // itself counting characters, and every column is 0.
  virtual bool WantsColumns() const { return true; }

  // Something the search could not do; the trace, where there is one,
  // says it too.
  virtual void Diagnose(const Diagnostic&) {}

  // A folder listed, a file scanned: for hosts that count.
  virtual void FolderListed() {}
  virtual void FileScanned(const ScannedFile&) {}

  // True once the user asked the current search to stop.
  virtual bool IsStopRequested() = 0;

  // The search root as entered, trimmed: the base of relative paths.
  virtual std::string GetRootPath() = 0;

  // Lets the user interface react between folders. False when the
  // application is quitting, which ends the walk.
  virtual bool PumpMessages() = 0;
};

}  // namespace quillmark::engine
