// The window's log: every trace line of every search since the log was
// last cleared, in UTF-8, each line ended by '\n'. A search appends tens of
// megabytes to it, so it lives in large blocks that never move (see
// memory_blocks.h), and is made one string only when asked for whole.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/memory_blocks.h"
#include "engine/finder_host.h"

namespace quillmark::app {

// A trace line as the log keeps it, with its line end: as it is when it is
// valid UTF-8, else decoded as CP932, so that Shift_JIS literals read
// correctly and EUC-JP ones look as they would on a Shift_JIS system.
void AppendLogLine(std::string_view line, std::string& out);

class LogLineRenderer final : public engine::TraceRenderer {
 public:
  void Render(std::string_view line, std::string& out) const override { AppendLogLine(line, out); }
};

class LogText {
 public:
  static constexpr std::size_t npos = std::string::npos;

  // Appends `line` as AppendLogLine makes it.
  void AppendLine(std::string_view line);
  // Appends lines AppendLogLine made.
  void AppendConverted(std::string_view lines) { Append(lines); }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  void Clear();

  char At(std::size_t index) const { return blocks_[index / kBlockBytes]->Data()[index % kBlockBytes]; }
  // Bytes [from, to) of the log, `to` at most size().
  std::string Substr(std::size_t from, std::size_t to) const;
  // The first `byte` at or after `from`, or npos.
  std::size_t Find(char byte, std::size_t from) const;
  // The last `byte` at or before `at`, or npos.
  std::size_t ReverseFind(char byte, std::size_t at) const;
  // The UTF-8 characters of bytes [from, to).
  long CountCharacters(std::size_t from, std::size_t to) const;

  // The whole log as one string, made when asked for (and kept until the
  // log changes).
  const std::string& Whole() const;

 private:
  void Append(std::string_view bytes);

  std::vector<std::unique_ptr<MemoryBlock>> blocks_;  // each kBlockBytes
  std::size_t size_ = 0;
  std::string converted_;      // the last line converted, kept for its capacity
  mutable std::string whole_;  // the first whole_.size() bytes of the log
};

}  // namespace quillmark::app
