// The findings of the window's search in the order found, as plain values:
// the result list shows them, and the dump, Copy, Save and the editor
// launch read them. A row is a fixed record; its text and path bytes sit
// in pieces that never move, a path shared with the row before kept once,
// so that a search's hundreds of thousands of rows cost little more than
// their bytes. The rows are kept in runs: a batch made on the search
// thread joins the window's rows as a run of its own, neither its rows nor
// its bytes copied.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "engine/finding.h"

namespace quillmark::app {

class FindingModel {
 public:
  // Keeps a copy of `finding` at the end.
  void Append(const engine::Finding& finding);
  // Makes room for `rows` more rows before the next run is needed.
  void Reserve(std::size_t rows);
  // Moves the rows of `more` to the end; `more` is left empty.
  void Append(FindingModel&& more);
  // Forgets row `row`; the rows below move up by one.
  void Erase(std::size_t row);
  void Clear();

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  // Row `row` (below size()) as the engine gave it.
  engine::Finding At(std::size_t row) const;
  // Its relative path, byte for byte as the file system gives it.
  std::string_view Path(std::size_t row) const { return RowAt(row).path; }

 private:
  struct Row {
    std::string_view content;
    std::string_view path;
    std::int64_t line;
    std::int64_t column;
    engine::SourceEncoding encoding;
    char quote;
  };

  const Row& RowAt(std::size_t row) const;
  // Copies `bytes` into the last piece, or a new one when it has no room.
  std::string_view Keep(std::string_view bytes);

  std::vector<std::vector<Row>> runs_;  // none empty
  std::vector<std::size_t> runStarts_;  // the index of each run's first row
  std::size_t size_ = 0;
  bool reservedRun_ = false;  // the last run is this model's own, to grow
  std::vector<std::unique_ptr<char[]>> pieces_;
  std::size_t sizeOfLast_ = 0;
  std::size_t roomInLast_ = 0;  // free bytes at the end of the last piece
};

}  // namespace quillmark::app
