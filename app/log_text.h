// The window's log: every trace line of every search since the log was
// last cleared, in UTF-8, each line ended by '\n'. A search appends tens of
// megabytes to it in batches made on the search thread: each batch is kept
// as the piece it came in, never copied, and the log is made one string
// only when asked for whole.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/search_options.h"

namespace quillmark::app {

// A trace line as the log keeps it, with its line end: as it is when it is
// valid UTF-8, else decoded as CP932, so that Shift_JIS literals read
// correctly and EUC-JP ones look as they would on a Shift_JIS system.
void AppendLogLine(std::string_view line, std::string& out);

// The same rule for the lines made on the threads that scan.
class LogLineRenderer final : public engine::TraceRenderer {
 public:
  void Render(std::string_view line, std::string& out) const override { AppendLogLine(line, out); }
};

class LogText {
 public:
  static constexpr std::size_t npos = std::string::npos;

  // Appends `line` as AppendLogLine makes it.
  void AppendLine(std::string_view line);
  // Appends lines AppendLogLine made; a large batch is kept as it is.
  void AppendConverted(std::string&& lines);
  void AppendConverted(std::string_view lines) { AppendConverted(std::string(lines)); }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  void Clear();

  char At(std::size_t index) const;
  // Bytes [from, to) of the log, `to` at most size().
  std::string Substr(std::size_t from, std::size_t to) const;
  // The first `byte` at or after `from`, or npos.
  std::size_t Find(char byte, std::size_t from) const;
  // The last `byte` at or before `at`, or npos.
  std::size_t ReverseFind(char byte, std::size_t at) const;
  // The text control's positions in bytes [from, to) (app/pane_positions.h).
  long CountPanePositions(std::size_t from, std::size_t to) const;

  // The whole log as one string, made when asked for (and kept until the
  // log changes).
  const std::string& Whole() const;

 private:
  // The piece that holds byte `index` (below size()).
  std::size_t PieceOf(std::size_t index) const;
  // Calls `visit(bytes, offset)` for each stretch of bytes [from, to) that
  // lies in one piece, in order, until it returns true.
  template <class Visit>
  void ForEachStretch(std::size_t from, std::size_t to, Visit visit) const;

  std::vector<std::string> pieces_;
  std::vector<std::size_t> starts_;  // the log offset of each piece's first byte
  std::size_t size_ = 0;
  mutable std::string whole_;  // the first whole_.size() bytes of the log
};

}  // namespace quillmark::app
