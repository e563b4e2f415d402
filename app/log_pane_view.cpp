#include "app/log_pane_view.h"

#include <string_view>

#include "app/log_text.h"
#include "app/pane_positions.h"

namespace quillmark::app {
namespace {

// The first line start at or after `from`; the last line's start when no
// line begins there, so that the pane always shows the last line.
std::size_t LineStartFrom(const LogText& log, std::size_t from) {
  if (from == 0 || log.At(from - 1) == '\n') return from;
  const std::size_t end = log.Find('\n', from);
  if (end != std::string::npos && end + 1 < log.size()) return end + 1;
  const std::size_t lastEnd = log.ReverseFind('\n', log.size() >= 2 ? log.size() - 2 : 0);
  return lastEnd == std::string::npos ? 0 : lastEnd + 1;
}

}  // namespace

LogPaneView::Update LogPaneView::Refresh(const LogText& log, bool paneUnchanged) {
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
  headerChars_ = PanePositionsOf(header);
  return Update{true, header + log.Substr(shownFrom_, log.size())};
}

long LogPaneView::PanePosition(const LogText& log, std::size_t offset) const {
  if (offset <= shownFrom_) return headerChars_;
  const std::size_t end = offset < log.size() ? offset : log.size();
  return headerChars_ + log.CountPanePositions(shownFrom_, end);
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
