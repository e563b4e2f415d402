// Decides how the log pane follows the log text: appending only what is
// new while the pane still holds what was last put there, and showing
// only the log's last part once the log outgrows what a text pane can lay
// out quickly. The log text itself always stays whole.
#pragma once

#include <cstddef>
#include <string>

namespace quillmark::app {

class LogPaneView {
 public:
  static constexpr std::size_t kDefaultPaneLimit = 10 * 1024 * 1024;

  explicit LogPaneView(std::size_t paneLimitBytes = kDefaultPaneLimit) : limit_(paneLimitBytes) {}

  struct Update {
    bool replace;      // replace the pane's text, or append to it
    std::string text;  // UTF-8
  };

  // What the pane needs to show the end of `log`. `paneUnchanged` tells
  // whether the pane still holds exactly what the last update left there.
  Update Refresh(const std::string& log, bool paneUnchanged);

  // The pane's character position of byte `offset` of `log` (a character
  // boundary), or the start of the shown part when it lies before it.
  long PanePosition(const std::string& log, std::size_t offset) const;

  // The log and the pane were both emptied.
  void Clear();

 private:
  std::size_t limit_;
  std::size_t shownFrom_ = 0;  // first byte of the log that the pane shows
  std::size_t shownTo_ = 0;    // end of what the pane shows
  long headerChars_ = 0;       // characters of the "not shown" line
};

}  // namespace quillmark::app
