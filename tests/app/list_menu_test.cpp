// The result list's context menu: its items, the copy to the clipboard and
// the save of the list into a file.
#include <gtest/gtest.h>
#include <dirent.h>

#include <algorithm>

#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/menu.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include "platform/save_file.h"
#include "main_dialog_driver.h"
#include "message_recorder.h"
#include "report/csv_writer.h"
#include "tests/support/temp_tree.h"

namespace quillmark::testing {
namespace {

using app::MainDialog;

std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* dir = opendir(folder.c_str())) {
    while (dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

class ListMenuTest : public ::testing::Test {
 protected:
  ListMenuTest() {
    // Whatever menu opens is recorded, and the item `choose` is picked.
    window.dialog.SetMenuShower([this](wxWindow* list, wxMenu& menu, const wxPoint&) {
      EXPECT_EQ(list, &window.List());
      MenuState state;
      for (const wxMenuItem* item : menu.GetMenuItems()) {
        state.push_back({item->GetItemLabelText().utf8_string(), item->IsEnabled()});
      }
      shown.push_back(state);
      return choose;
    });
    window.dialog.SetSaveFileChooser([this](wxWindow*) { return saveChoice; });
  }

  using MenuState = std::vector<std::pair<std::string, bool>>;
  static MenuState Items(bool copy, bool save) { return {{"コピー", copy}, {"リストを保存...", save}}; }

  // Lets the display deliver simulated input until `count` menus opened,
  // then a little longer, so that a second opening would show.
  void WaitForMenus(std::size_t count) {
    for (int turn = 0; turn < 50 && shown.size() < count; ++turn) {
      wxYield();
      wxMilliSleep(10);
    }
    for (int turn = 0; turn < 10; ++turn) {
      wxYield();
      wxMilliSleep(10);
    }
  }

  static std::string Settings(const std::string& root) { return "[Quillmark]\nFinderRootPath=" + root + "\n"; }

  TempTree folder;
  MessageRecorder recorder;
  std::string settingsPath = [this] {
    folder.WriteFile("quillmark.ini", Settings("/src/root"));
    return folder.PathOf("quillmark.ini");
  }();
  MainDialogDriver window{settingsPath};
  std::vector<MenuState> shown;
  int choose = wxID_NONE;
  std::optional<MainDialog::SaveFileChoice> saveChoice;
};

TEST_F(ListMenuTest, ItemsAreEnabledByTheSelectionAndTheRows) {
  window.PressListKey(WXK_MENU);
  window.AddFinding(Found(kSjisNihon, 1, "a.c"));
  window.PressListKey(WXK_MENU);
  window.SelectRow(0);
  window.PressListKey(WXK_MENU);

  EXPECT_EQ(shown, (std::vector<MenuState>{Items(false, false), Items(false, true), Items(true, true)}));
  EXPECT_TRUE(recorder.messages.empty());
}

// The list's own events, sent as the control sends them: a pointer on a
// shared display is no place for a test that runs beside others.
TEST_F(ListMenuTest, ARightClickOnARowSelectsItAndOpensTheMenuOnce) {
  window.AddFinding(Found(kSjisNihon, 1, "a.c"));
  window.AddFinding(Found(kSjisTesuto, 2, "b.c"));
  wxListEvent click(wxEVT_LIST_ITEM_RIGHT_CLICK, res::kResultList);
  click.m_itemIndex = 1;
  click.SetEventObject(&window.List());
  window.List().ProcessWindowEvent(click);
  EXPECT_EQ(window.SelectedRow(), 1);
  EXPECT_EQ(shown, std::vector<MenuState>{Items(true, true)});
}

TEST_F(ListMenuTest, TheMenuKeyOnTheListOpensTheMenuOnce) {
  window.AddFinding(Found(kSjisNihon, 1, "a.c"));
  window.SelectRow(0);
  window.PressListKey(WXK_MENU);
  EXPECT_EQ(shown, std::vector<MenuState>{Items(true, true)});
}

TEST_F(ListMenuTest, CopyPutsPathLineAndTrimmedTextOnTheClipboard) {
  window.AddFinding(Found(kSjisNihon, 3, "a.c"));
  window.AddFinding(Found(kSjisTesuto, 12, "sub/b.c"));
  window.SelectRow(1);
  choose = MainDialog::kCopyRowItem;

  window.PressListKey(WXK_MENU);

  ASSERT_TRUE(recorder.messages.empty());
  wxClipboardLocker locker;
  if (!locker) GTEST_SKIP() << "the clipboard cannot be opened under this display";
  wxTextDataObject text;
  ASSERT_TRUE(wxTheClipboard->GetData(text));
  EXPECT_EQ(text.GetText().utf8_string(), "/src/root" + kJoin + "sub/b.c:12: テスト");
}

TEST_F(ListMenuTest, SaveAsCsvWritesWhatTheCsvWriterWritesForTheRowsLeft) {
  const std::vector<engine::Finding> rows{Found(kSjisNihon, 3, "a.c"), Found(kSjisTesuto, 5, "b.c"),
                                          Found("\xe6\x97\xa5", 7, "c.c", engine::SourceEncoding::Utf8)};
  for (const engine::Finding& row : rows) window.AddFinding(row);
  window.SelectRow(1);
  window.PressListKey(WXK_DELETE);
  folder.WriteFile("out.csv", "old contents");
  saveChoice = MainDialog::SaveFileChoice{folder.PathOf("out.csv"), 0};
  choose = MainDialog::kSaveListItem;

  window.PressListKey(WXK_MENU);

  const auto writer = report::MakeCsvWriter({"/src/root", "/src/root", "0.5.0"});
  std::string expected;
  writer->Begin(expected);
  writer->AddFinding(rows[0], expected);
  writer->AddFinding(rows[2], expected);
  report::ScanSummary summary;
  summary.findings = 2;
  summary.completed = true;
  writer->End(summary, expected);
  EXPECT_EQ(ReadWholeFile(folder.PathOf("out.csv")), expected);
  EXPECT_EQ(NamesIn(folder.Root()), (std::vector<std::string>{"out.csv", "quillmark.ini"})) << "no temporary left";
  EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(ListMenuTest, SaveIntoAMissingFolderWarnsAndLeavesNoFile) {
  window.AddFinding(Found(kSjisNihon, 3, "a.c"));
  const std::string target = folder.PathOf("missing/out.jsonl");
  saveChoice = MainDialog::SaveFileChoice{target, 1};
  choose = MainDialog::kSaveListItem;

  window.PressListKey(WXK_MENU);

  ASSERT_EQ(recorder.messages.size(), 1u);
  EXPECT_EQ(recorder.messages[0].icon, app::MessageIcon::Warning);
  EXPECT_EQ(recorder.messages[0].text.rfind("ファイルを保存できません。\n" + target + "\n", 0), 0u)
      << recorder.messages[0];
  EXPECT_EQ(NamesIn(folder.Root()), std::vector<std::string>{"quillmark.ini"});
}

TEST_F(ListMenuTest, ACancelledSaveWritesNothing) {
  window.AddFinding(Found(kSjisNihon, 3, "a.c"));
  choose = MainDialog::kSaveListItem;
  window.PressListKey(WXK_MENU);
  EXPECT_EQ(NamesIn(folder.Root()), std::vector<std::string>{"quillmark.ini"});
  EXPECT_TRUE(recorder.messages.empty());
}

TEST(AtomicSaveTest, AFailedWriteKeepsTheOldFileWhole) {
  TempTree folder;
  folder.WriteFile("kept.txt", "old");
  folder.MakeFolder("target");  // a folder cannot be renamed over by a file
  EXPECT_TRUE(platform::SaveFileAtomically(folder.PathOf("target"), "new").has_value());
  EXPECT_EQ(NamesIn(folder.Root()), (std::vector<std::string>{"kept.txt", "target"}));
  EXPECT_FALSE(platform::SaveFileAtomically(folder.PathOf("kept.txt"), "new").has_value());
  EXPECT_EQ(ReadWholeFile(folder.PathOf("kept.txt")), "new");
}

}  // namespace
}  // namespace quillmark::testing
