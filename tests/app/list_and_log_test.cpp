// The result list's keys, the dump into the log and the log pane's buttons.
#include <gtest/gtest.h>
#include <wx/dcclient.h>

#include "engine/finding.h"
#include "main_dialog_driver.h"
#include "message_recorder.h"
#include "tests/support/temp_tree.h"

namespace quillmark::testing {
namespace {

using res::kClearLogButton;
using res::kDumpListButton;
using res::kLogPane;
using res::kSelectAllLogButton;

class ListAndLogTest : public ::testing::Test {
 protected:
  void AddRows(int count) {
    std::vector<engine::Finding> rows;
    for (int i = 1; i <= count; ++i) rows.push_back(Found("row" + std::to_string(i), i, "f.c"));
    window.AddFindings(rows);
  }
  std::vector<std::string> Texts() {
    std::vector<std::string> texts;
    for (const Row& row : window.Rows()) texts.push_back(row.text.substr(0, row.text.find_last_not_of(' ') + 1));
    return texts;
  }
  wxTextCtrl& Pane() { return window.Text(kLogPane); }

  TempTree settingsFolder;
  MessageRecorder recorder;
  MainDialogDriver window{settingsFolder.PathOf("quillmark.ini")};
};

TEST_F(ListAndLogTest, RowsAreTallEnoughForDescendersAndUnderscores) {
  wxListCtrl& list = window.List();
  const auto fullHeight = [&list] {
    wxClientDC dc(&list);
    dc.SetFont(list.GetFont());
    const wxFontMetrics metrics = dc.GetFontMetrics();
    return metrics.ascent + metrics.descent + metrics.externalLeading;
  };
  window.AddFinding(Found("euc_in_sjis_tree", 1, "euc_in_sjis_tree.c"));
  ASSERT_EQ(list.GetItemCount(), 1);
  wxRect row;
  ASSERT_TRUE(list.GetItemRect(0, row));
  EXPECT_GE(row.height, fullHeight());

  // A font larger than the one the list began with makes the rows taller.
  list.SetFont(list.GetFont().Scaled(3));
  ASSERT_TRUE(list.GetItemRect(0, row));
  EXPECT_GE(row.height, fullHeight());
}

TEST_F(ListAndLogTest, DeleteOnAMiddleRowSelectsTheRowThatTookItsPlace) {
  AddRows(3);
  window.SelectRow(1);

  window.PressListKey(WXK_DELETE);

  EXPECT_EQ(Texts(), (std::vector<std::string>{"row1", "row3"}));
  EXPECT_EQ(window.SelectedRow(), 1);
  EXPECT_TRUE(window.List().GetItemState(1, wxLIST_STATE_FOCUSED) & wxLIST_STATE_FOCUSED);
}

TEST_F(ListAndLogTest, DeleteOnTheLastRowLeavesNothingSelected) {
  AddRows(2);
  window.SelectRow(1);

  window.PressListKey(WXK_DELETE);

  EXPECT_EQ(Texts(), (std::vector<std::string>{"row1"}));
  EXPECT_EQ(window.SelectedRow(), -1);

  window.SelectRow(0);
  window.PressListKey(WXK_DELETE);
  EXPECT_TRUE(Texts().empty());
  EXPECT_EQ(window.SelectedRow(), -1);
}

TEST_F(ListAndLogTest, DeleteWithoutASelectionAndOtherKeysDoNothing) {
  AddRows(2);
  window.PressListKey(WXK_DELETE);
  window.SelectRow(0);
  window.PressListKey('X');
  window.PressListKey(WXK_RETURN);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"row1", "row2"}));
  EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(ListAndLogTest, FindingsAddedAfterADeletionGoAtTheEnd) {
  AddRows(3);
  window.SelectRow(0);
  window.PressListKey(WXK_DELETE);
  window.AddFinding(Found("new", 9, "g.c"));
  EXPECT_EQ(Texts(), (std::vector<std::string>{"row2", "row3", "new"}));
}

TEST_F(ListAndLogTest, FindingTextIsShownFromShiftJisOrAsWrittenInUtf8) {
  window.AddFindings({Found(kSjisNihon, 12, "sub/a.c"),
                      Found("\x82", 1, "bad\xff.c"),  // a cut double-byte character, a Latin-1 name
                      // A UTF-8 file's text is shown as written: its wave dash stays U+301C.
                      Found("〜é", 3, "u.c", engine::SourceEncoding::Utf8)});
  EXPECT_EQ(window.Rows(), (std::vector<Row>{{Padded("日本", 4), "12", "sub/a.c"},
                                             {"\xef\xbf\xbd" + std::string(19, ' '), "1", "bad\xef\xa3\xb3.c"},
                                             {"〜é" + std::string(15, ' '), "3", "u.c"}}));
}

TEST_F(ListAndLogTest, TheDumpWritesOneLinePerRowAndSelectsTheBlock) {
  window.AddLogLines({"before"});
  window.AddFinding(Found("abc", 7, "src/a.cpp"));
  window.AddFinding(Found(kSjisNihon, 12345, "a/very/long/path/name.cpp"));

  window.Click(kDumpListButton);

  const std::string block =
      "============== リスト出力開始\n"
      "src/a.cpp :    7               \"abc                 \"\n"
      "a/very/long/path/name.cpp : 12345 \"日本                \"\n"
      "============== リスト出力終了\n";
  EXPECT_EQ(window.dialog.GetLogText(), "before\n" + block);
  EXPECT_EQ(window.LogPane(), "before\n" + block);
  EXPECT_EQ(Pane().GetStringSelection().utf8_string(), block);
}

TEST_F(ListAndLogTest, TheDumpOfAnEmptyListWritesTheMarkers) {
  window.AddLogLines({"日本語の行"});

  window.Click(kDumpListButton);

  EXPECT_EQ(Pane().GetStringSelection().utf8_string(),
            "============== リスト出力開始\n============== リスト出力終了\n");
}

TEST_F(ListAndLogTest, SearchLinesShowAtOnceDecodedAndWhole) {
  const std::string longLine(30000, 'x');
  window.AddLogLines({longLine, std::string("checking string:") + kSjisNihon});

  EXPECT_EQ(window.LogPane(), longLine + "\nchecking string:日本\n");
  EXPECT_EQ(Pane().GetInsertionPoint(), Pane().GetLastPosition()) << "the pane shows the log's end";
}

TEST_F(ListAndLogTest, TextTypedIntoThePaneIsLostAtTheNextRefresh) {
  window.AddLogLines({"one"});
  Pane().AppendText("typed by the user");

  window.AddLogLines({"two"});

  EXPECT_EQ(window.LogPane(), "one\ntwo\n");
}

TEST_F(ListAndLogTest, ClearEmptiesTheLogAndThePane) {
  window.AddLogLines({"one"});

  window.Click(kClearLogButton);
  EXPECT_EQ(window.dialog.GetLogText(), "");
  EXPECT_EQ(window.LogPane(), "");

  window.AddLogLines({"two"});
  EXPECT_EQ(window.LogPane(), "two\n");
}

TEST_F(ListAndLogTest, SelectAllSelectsTheWholePane) {
  window.AddLogLines({"one", "two"});
  Pane().SetSelection(0, 1);

  window.Click(kSelectAllLogButton);

  EXPECT_EQ(Pane().GetStringSelection().utf8_string(), "one\ntwo\n");
}

TEST_F(ListAndLogTest, EnterAndEscDoNotCloseTheWindow) {
  window.PressDialogKey(WXK_ESCAPE);
  window.PressDialogKey(WXK_RETURN);
  EXPECT_TRUE(window.dialog.IsShown());
  EXPECT_TRUE(recorder.messages.empty());
}

}  // namespace
}  // namespace quillmark::testing
