// Decides how the log pane follows the log text: appending only what is
// new while the pane still holds what was last put there, and showing
// only the log's last part once the log outgrows what a text pane can lay
// out quickly. The log text itself always stays whole.
#pragma once

#include <cstddef>
#include <string>

namespace quillmark::app {

class LogText;

class LogPaneView {
 public:
  // A GTK text view lays out every line it holds, at about half a second
  // per megabyte of log, before it settles: the pane holds the log's last
  // 256 KiB at most once a search is over (about 4,000 lines to scroll
  // back through); the log text itself stays whole.
  static constexpr std::size_t kDefaultPaneLimit = 256 * 1024;
  // While a search runs the pane follows the log's end, replaced ten times
  // a second: it holds little more than it can show, so that the layout at
  // each refresh costs a few milliseconds however fast the log grows.
  static constexpr std::size_t kSearchPaneLimit = 8 * 1024;

  explicit LogPaneView(std::size_t paneLimitBytes = kDefaultPaneLimit) : limit_(paneLimitBytes) {}

  struct Update {
    bool replace;      // replace the pane's text, or append to it
    std::string text;  // UTF-8
  };

  // What the pane needs to show the end of `log`. `paneUnchanged` tells
  // whether the pane still holds exactly what the last update left there.
  Update Refresh(const LogText& log, bool paneUnchanged);

  // The pane's character position of byte `offset` of `log` (a character
  // boundary), or the start of the shown part when it lies before it.
  long PanePosition(const LogText& log, std::size_t offset) const;

  // The log and the pane were both emptied.
  void Clear();

  // Changes how much of the log the pane may show. A larger limit makes
  // the next refresh replace the pane, which may then show more.
  void SetLimit(std::size_t paneLimitBytes);

 private:
  std::size_t limit_;
  std::size_t shownFrom_ = 0;  // first byte of the log that the pane shows
  std::size_t shownTo_ = 0;    // end of what the pane shows
  long headerChars_ = 0;       // pane positions of the "not shown" line
  bool replaceNext_ = false;   // the limit grew since the last refresh
};

}  // namespace quillmark::app
