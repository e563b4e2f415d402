#include "app/finding_model.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace quillmark::app {
namespace {

// Small enough to be had while memory runs short, large enough that a
// search makes few of them.
constexpr std::size_t kPieceBytes = 256 * 1024;

}  // namespace

std::string_view FindingModel::Keep(std::string_view bytes) {
  if (bytes.empty()) return std::string_view();
  if (bytes.size() > roomInLast_) {
    const std::size_t size = std::max(bytes.size(), kPieceBytes);
    // A literal larger than a piece gets one of its own.
    pieces_.push_back(std::make_unique_for_overwrite<char[]>(size));
    sizeOfLast_ = size;
    roomInLast_ = size;
  }
  char* const at = pieces_.back().get() + (sizeOfLast_ - roomInLast_);
  std::memcpy(at, bytes.data(), bytes.size());
  roomInLast_ -= bytes.size();
  return std::string_view(at, bytes.size());
}

void FindingModel::Append(const engine::Finding& finding) {
  // A file's findings come one after another: its path is kept once.
  const std::string_view path =
      !rows_.empty() && rows_.back().path == finding.path ? rows_.back().path : Keep(finding.path);
  const std::string_view content = Keep(finding.content);
  rows_.push_back(Row{content, path, finding.line, finding.column, finding.encoding, finding.quote});
}

void FindingModel::Append(FindingModel&& more) {
  if (more.rows_.empty()) return;
  if (rows_.empty() && pieces_.empty()) {
    *this = std::move(more);
    more.Clear();
    return;
  }
  rows_.insert(rows_.end(), more.rows_.begin(), more.rows_.end());
  // The views stay valid: a piece's bytes do not move with its pointer.
  if (!more.pieces_.empty()) {
    pieces_.insert(pieces_.end(), std::make_move_iterator(more.pieces_.begin()),
                   std::make_move_iterator(more.pieces_.end()));
    sizeOfLast_ = more.sizeOfLast_;
    roomInLast_ = more.roomInLast_;
  }
  more.Clear();
}

void FindingModel::Erase(std::size_t row) {
  if (row < rows_.size()) rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
}

void FindingModel::Clear() {
  rows_ = std::vector<Row>();
  pieces_.clear();
  sizeOfLast_ = 0;
  roomInLast_ = 0;
}

engine::Finding FindingModel::At(std::size_t row) const {
  const Row& stored = rows_[row];
  engine::Finding finding;
  finding.content = stored.content;
  finding.line = stored.line;
  finding.column = stored.column;
  finding.path = stored.path;
  finding.encoding = stored.encoding;
  finding.quote = stored.quote;
  return finding;
}

}  // namespace quillmark::app
