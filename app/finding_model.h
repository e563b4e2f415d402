// The findings of the window's search in the order found, as plain values:
// the result list shows them, and the dump, Copy, Save and the editor
// launch read them. A row is a fixed record; its text and path bytes sit
// in pieces that never move, a path shared with the row before kept once,
// so that a search's hundreds of thousands of rows cost little more than
// their bytes, and a batch of rows made on the search thread joins the
// window's rows without a copy of its bytes.
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
  // Moves the rows of `more` to the end; `more` is left empty.
  void Append(FindingModel&& more);
  // Forgets row `row`; the rows below move up by one.
  void Erase(std::size_t row);
  void Clear();

  std::size_t size() const { return rows_.size(); }
  bool empty() const { return rows_.empty(); }

  // Row `row` (below size()) as the engine gave it.
  engine::Finding At(std::size_t row) const;
  // Its relative path, byte for byte as the file system gives it.
  std::string_view Path(std::size_t row) const { return rows_[row].path; }

 private:
  struct Row {
    std::string_view content;
    std::string_view path;
    std::int64_t line;
    std::int64_t column;
    engine::SourceEncoding encoding;
    char quote;
  };

  // Copies `bytes` into the last piece, or a new one when it has no room.
  std::string_view Keep(std::string_view bytes);

  std::vector<Row> rows_;
  std::vector<std::unique_ptr<char[]>> pieces_;
  std::size_t sizeOfLast_ = 0;
  std::size_t roomInLast_ = 0;  // free bytes at the end of the last piece
};

}  // namespace quillmark::app
