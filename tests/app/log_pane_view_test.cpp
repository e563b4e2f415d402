#include "app/log_pane_view.h"
#include "app/pane_positions.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "app/log_text.h"

namespace quillmark::app {
namespace {

// The log as the window keeps it, holding `text`.
LogText Log(std::string_view text) {
  LogText log;
  log.AppendConverted(text);
  return log;
}

TEST(LogPaneView, AppendsWhileThePaneIsUnchanged) {
  LogPaneView view;
  std::string log = "one\n";
  LogPaneView::Update update = view.Refresh(Log(log), true);
  EXPECT_EQ(update.text, "one\n");

  log += "two\n";
  update = view.Refresh(Log(log), true);
  EXPECT_FALSE(update.replace);
  EXPECT_EQ(update.text, "two\n");

  update = view.Refresh(Log(log), true);
  EXPECT_FALSE(update.replace);
  EXPECT_EQ(update.text, "");
}

TEST(LogPaneView, ReplacesWhenThePaneWasEditedOrTheLogCleared) {
  LogPaneView view;
  std::string log = "one\n";
  view.Refresh(Log(log), true);
  log += "two\n";
  LogPaneView::Update update = view.Refresh(Log(log), false);
  EXPECT_TRUE(update.replace);
  EXPECT_EQ(update.text, "one\ntwo\n");

  view.Clear();
  log = "three\n";
  update = view.Refresh(Log(log), true);
  EXPECT_FALSE(update.replace);
  EXPECT_EQ(update.text, "three\n");
}

TEST(LogPaneView, PastTheLimitShowsTheLastLinesUnderANote) {
  LogPaneView view(20);
  std::string log = "aaaaaaaaa\nbbbbbbbbb\n";  // 20 bytes: all of it fits
  EXPECT_EQ(view.Refresh(Log(log), true).text, log);

  log += "ccccccccc\n";
  LogPaneView::Update update = view.Refresh(Log(log), true);
  EXPECT_TRUE(update.replace);
  EXPECT_EQ(update.text, "（ログの先頭 20 バイトは表示していません）\nccccccccc\n");

  log += "d\n";
  update = view.Refresh(Log(log), true);
  EXPECT_FALSE(update.replace) << "appends again once the tail is shown";
  EXPECT_EQ(update.text, "d\n");
}

TEST(LogPaneView, ALastLineLongerThanTheLimitIsStillShown) {
  LogPaneView view(8);
  const std::string log = "a\n" + std::string(30, 'x') + "\n";
  const LogPaneView::Update update = view.Refresh(Log(log), true);
  EXPECT_TRUE(update.text.ends_with("\n" + std::string(30, 'x') + "\n"));
  EXPECT_TRUE(update.text.starts_with("（ログの先頭 2 バイト"));
}

TEST(LogPaneView, PanePositionsCountCharactersOfTheShownPart) {
  const long lineEnd = PanePositionsOf('\n');  // two where the control holds CR LF
  LogPaneView view;
  const std::string log = "日本\nab\n";
  view.Refresh(Log(log), true);
  EXPECT_EQ(view.PanePosition(Log(log), 0), 0);
  EXPECT_EQ(view.PanePosition(Log(log), 7), 2 + lineEnd);  // after 日本 and its line end
  EXPECT_EQ(view.PanePosition(Log(log), log.size()), 4 + 2 * lineEnd);

  LogPaneView tail(10);
  const std::string longLog = "0123456789\n日本\n";
  const std::string shown = tail.Refresh(Log(longLog), true).text;
  ASSERT_TRUE(shown.ends_with("\n日本\n"));
  EXPECT_GT(tail.PanePosition(Log(longLog), 11), 0) << "after the note";
  EXPECT_EQ(tail.PanePosition(Log(longLog), 0), tail.PanePosition(Log(longLog), 11)) << "before the shown part";
  EXPECT_EQ(tail.PanePosition(Log(longLog), longLog.size()) - tail.PanePosition(Log(longLog), 11), 2 + lineEnd);
}

TEST(LogPaneView, ALargerLimitReplacesThePaneToShowMore) {
  LogPaneView view(40);
  std::string log = "first line\n";
  view.Refresh(Log(log), true);
  view.SetLimit(12);  // a search: the pane follows the end
  log += "second line\nthird line\n";
  LogPaneView::Update update = view.Refresh(Log(log), true);
  EXPECT_TRUE(update.replace);
  EXPECT_EQ(update.text.substr(update.text.find('\n') + 1), "third line\n");

  view.SetLimit(40);  // the search ended: the whole log fits again
  update = view.Refresh(Log(log), true);
  EXPECT_TRUE(update.replace);
  EXPECT_EQ(update.text, log);
  EXPECT_FALSE(view.Refresh(Log(log + "x\n"), true).replace);
}

}  // namespace
}  // namespace quillmark::app
