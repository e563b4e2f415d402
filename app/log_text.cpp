#include "app/log_text.h"

#include <algorithm>
#include <cstring>

#include "app/pane_positions.h"
#include "platform/code_page.h"

namespace quillmark::app {
namespace {

// Lines and small batches join the last piece up to this size, so that
// the pieces stay few whatever the lines' number; larger batches stand
// as pieces of their own.
constexpr std::size_t kJoinedPieceBytes = 1 << 20;

}  // namespace

void AppendLogLine(std::string_view line, std::string& out) {
  platform::AppendDisplayText(line, out);
  out += '\n';
}

void LogText::AppendLine(std::string_view line) {
  if (pieces_.empty() || pieces_.back().size() >= kJoinedPieceBytes) {
    starts_.push_back(size_);
    pieces_.emplace_back();
  }
  std::string& last = pieces_.back();
  const std::size_t before = last.size();
  AppendLogLine(line, last);
  size_ += last.size() - before;
}

void LogText::AppendConverted(std::string&& lines) {
  if (lines.empty()) return;
  const std::size_t count = lines.size();
  if (!pieces_.empty() && pieces_.back().size() + count <= kJoinedPieceBytes) {
    pieces_.back() += lines;
  } else {
    starts_.push_back(size_);
    pieces_.push_back(std::move(lines));
  }
  size_ += count;
}

void LogText::Clear() {
  pieces_ = std::vector<std::string>();
  starts_.clear();
  size_ = 0;
  whole_ = std::string();
}

std::size_t LogText::PieceOf(std::size_t index) const {
  return static_cast<std::size_t>(std::upper_bound(starts_.begin(), starts_.end(), index) - starts_.begin()) - 1;
}

template <class Visit>
void LogText::ForEachStretch(std::size_t from, std::size_t to, Visit visit) const {
  to = std::min(to, size_);
  if (from >= to) return;
  for (std::size_t piece = PieceOf(from); from < to; ++piece) {
    const std::size_t within = from - starts_[piece];
    const std::size_t count = std::min(to - from, pieces_[piece].size() - within);
    if (visit(std::string_view(pieces_[piece]).substr(within, count), from)) return;
    from += count;
  }
}

char LogText::At(std::size_t index) const {
  const std::size_t piece = PieceOf(index);
  return pieces_[piece][index - starts_[piece]];
}

std::string LogText::Substr(std::size_t from, std::size_t to) const {
  std::string text;
  if (from < to) text.reserve(std::min(to, size_) - std::min(from, size_));
  ForEachStretch(from, to, [&](std::string_view bytes, std::size_t) {
    text.append(bytes);
    return false;
  });
  return text;
}

std::size_t LogText::Find(char byte, std::size_t from) const {
  std::size_t found = npos;
  ForEachStretch(from, size_, [&](std::string_view bytes, std::size_t offset) {
    if (const void* at = std::memchr(bytes.data(), byte, bytes.size())) {
      found = offset + static_cast<std::size_t>(static_cast<const char*>(at) - bytes.data());
      return true;
    }
    return false;
  });
  return found;
}

std::size_t LogText::ReverseFind(char byte, std::size_t at) const {
  if (size_ == 0) return npos;
  std::size_t index = std::min(at, size_ - 1);
  for (std::size_t piece = PieceOf(index);; --piece) {
    const std::string_view bytes = std::string_view(pieces_[piece]).substr(0, index - starts_[piece] + 1);
    const std::size_t found = bytes.rfind(byte);
    if (found != std::string_view::npos) return starts_[piece] + found;
    if (piece == 0) return npos;
    index = starts_[piece] - 1;
  }
}

long LogText::CountPanePositions(std::size_t from, std::size_t to) const {
  long count = 0;
  ForEachStretch(from, to, [&](std::string_view bytes, std::size_t) {
    count += PanePositionsOf(bytes);
    return false;
  });
  return count;
}

const std::string& LogText::Whole() const {
  if (whole_.size() < size_) whole_ += Substr(whole_.size(), size_);
  return whole_;
}

}  // namespace quillmark::app
