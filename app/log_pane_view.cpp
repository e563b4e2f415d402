#include "app/log_pane_view.h"

#include <string_view>

#include "app/log_text.h"

namespace quillmark::app {
namespace {

long CountCharacters(std::string_view utf8) {
  long count = 0;
  for (unsigned char byte : utf8) count += (byte & 0xC0) != 0x80;
  return count;
}

// The log as the view reads it, whether a LogText or a plain string.
class StringLog {
 public:
  explicit StringLog(const std::string& log) : log_(log) {}
  std::size_t size() const { return log_.size(); }
  std::string Substr(std::size_t from, std::size_t to) const { return log_.substr(from, to - from); }
  std::size_t Find(char byte, std::size_t from) const { return log_.find(byte, from); }
  std::size_t ReverseFind(char byte, std::size_t at) const { return log_.rfind(byte, at); }
  long CountCharacters(std::size_t from, std::size_t to) const {
    return app::CountCharacters(std::string_view(log_).substr(from, to - from));
  }
  bool EndsLineBefore(std::size_t offset) const { return log_[offset - 1] == '\n'; }

 private:
  const std::string& log_;
};

class BlockLog {
 public:
  explicit BlockLog(const LogText& log) : log_(log) {}
  std::size_t size() const { return log_.size(); }
  std::string Substr(std::size_t from, std::size_t to) const { return log_.Substr(from, to); }
  std::size_t Find(char byte, std::size_t from) const { return log_.Find(byte, from); }
  std::size_t ReverseFind(char byte, std::size_t at) const { return log_.ReverseFind(byte, at); }
  long CountCharacters(std::size_t from, std::size_t to) const { return log_.CountCharacters(from, to); }
  bool EndsLineBefore(std::size_t offset) const { return log_.At(offset - 1) == '\n'; }

 private:
  const LogText& log_;
};

// The first line start at or after `from`; the last line's start when no
// line begins there, so that the pane always shows the last line.
template <typename Log>
std::size_t LineStartFrom(const Log& log, std::size_t from) {
  if (from == 0 || log.EndsLineBefore(from)) return from;
  const std::size_t end = log.Find('\n', from);
  if (end != std::string::npos && end + 1 < log.size()) return end + 1;
  const std::size_t lastEnd = log.ReverseFind('\n', log.size() >= 2 ? log.size() - 2 : 0);
  return lastEnd == std::string::npos ? 0 : lastEnd + 1;
}

}  // namespace

template <typename Log>
LogPaneView::Update LogPaneView::RefreshLog(const Log& log, bool paneUnchanged) {
  if (paneUnchanged && !replaceNext_ && log.size() >= shownTo_ && log.size() - shownFrom_ <= limit_) {
    Update update{false, log.Substr(shownTo_, log.size())};
    shownTo_ = log.size();
    return update;
  }

  // Past the limit only the last half of it is shown, so that the appends
  // that follow run for a while before the next whole replacement.
  shownFrom_ = log.size() <= limit_ ? 0 : LineStartFrom(log, log.size() - limit_ / 2);
  shownTo_ = log.size();
  replaceNext_ = false;
  std::string header;
  if (shownFrom_ > 0) {
    header = "（ログの先頭 " + std::to_string(shownFrom_) + " バイトは表示していません）\n";
  }
  headerChars_ = CountCharacters(header);
  return Update{true, header + log.Substr(shownFrom_, log.size())};
}

template <typename Log>
long LogPaneView::PanePositionIn(const Log& log, std::size_t offset) const {
  if (offset <= shownFrom_) return headerChars_;
  const std::size_t end = offset < log.size() ? offset : log.size();
  return headerChars_ + log.CountCharacters(shownFrom_, end);
}

LogPaneView::Update LogPaneView::Refresh(const LogText& log, bool paneUnchanged) {
  return RefreshLog(BlockLog(log), paneUnchanged);
}

LogPaneView::Update LogPaneView::Refresh(const std::string& log, bool paneUnchanged) {
  return RefreshLog(StringLog(log), paneUnchanged);
}

long LogPaneView::PanePosition(const LogText& log, std::size_t offset) const {
  return PanePositionIn(BlockLog(log), offset);
}

long LogPaneView::PanePosition(const std::string& log, std::size_t offset) const {
  return PanePositionIn(StringLog(log), offset);
}

void LogPaneView::SetLimit(std::size_t paneLimitBytes) {
  if (paneLimitBytes > limit_) replaceNext_ = true;
  limit_ = paneLimitBytes;
}

void LogPaneView::Clear() {
  shownFrom_ = 0;
  shownTo_ = 0;
  headerChars_ = 0;
}

}  // namespace quillmark::app
