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
  const Row* last = size_ > 0 ? &runs_.back().back() : nullptr;
  const std::string_view path = last != nullptr && last->path == finding.path ? last->path : Keep(finding.path);
  const std::string_view content = Keep(finding.content);
  if (runs_.empty() || !reservedRun_) {
    runStarts_.push_back(size_);
    runs_.emplace_back();
    reservedRun_ = true;
  }
  runs_.back().push_back(Row{content, path, finding.line, finding.column, finding.encoding, finding.quote});
  ++size_;
}

void FindingModel::Reserve(std::size_t rows) {
  if (rows == 0) return;
  if (runs_.empty() || !reservedRun_) {
    runStarts_.push_back(size_);
    runs_.emplace_back();
    reservedRun_ = true;
  }
  runs_.back().reserve(runs_.back().size() + rows);
}

void FindingModel::Append(FindingModel&& more) {
  if (more.size_ == 0) return;
  for (std::vector<Row>& run : more.runs_) {
    if (run.empty()) continue;
    runStarts_.push_back(size_);
    size_ += run.size();
    runs_.push_back(std::move(run));
  }
  // A run taken from elsewhere is not grown here: the next row starts one
  // of this model's own.
  reservedRun_ = false;
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
  if (row >= size_) return;
  const std::size_t run = static_cast<std::size_t>(std::upper_bound(runStarts_.begin(), runStarts_.end(), row) -
                                                   runStarts_.begin()) - 1;
  std::vector<Row>& rows = runs_[run];
  rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(row - runStarts_[run]));
  for (std::size_t later = run + 1; later < runStarts_.size(); ++later) --runStarts_[later];
  --size_;
  if (rows.empty()) {
    runs_.erase(runs_.begin() + static_cast<std::ptrdiff_t>(run));
    runStarts_.erase(runStarts_.begin() + static_cast<std::ptrdiff_t>(run));
    if (run == runs_.size()) reservedRun_ = false;
  }
}

void FindingModel::Clear() {
  runs_ = std::vector<std::vector<Row>>();
  runStarts_ = std::vector<std::size_t>();
  size_ = 0;
  reservedRun_ = false;
  pieces_.clear();
  sizeOfLast_ = 0;
  roomInLast_ = 0;
}

const FindingModel::Row& FindingModel::RowAt(std::size_t row) const {
  const std::size_t run = static_cast<std::size_t>(std::upper_bound(runStarts_.begin(), runStarts_.end(), row) -
                                                   runStarts_.begin()) - 1;
  return runs_[run][row - runStarts_[run]];
}

engine::Finding FindingModel::At(std::size_t row) const {
  const Row& stored = RowAt(row);
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
