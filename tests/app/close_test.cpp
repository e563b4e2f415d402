// Ending the main window: the 閉じる button, the window's close request,
// and either of them during a search.
#include <gtest/gtest.h>

#include "main_dialog_driver.h"
#include "message_recorder.h"
#include "platform/private_profile.h"
#include "tests/support/temp_tree.h"

namespace quillmark::testing {
namespace {

class CloseTest : public ::testing::Test {
 protected:
  std::string IniValue(const char* key) {
    return platform::GetPrivateProfileString(settingsPath, "Quillmark", key, "<missing>");
  }

  TempTree settingsFolder;
  std::string settingsPath = settingsFolder.PathOf("quillmark.ini");
  MessageRecorder recorder;
};

TEST_F(CloseTest, TheCloseButtonSavesNothing) {
  MainDialogDriver window(settingsPath);
  window.SetFolder("/typed/but/not/searched");

  window.Click(res::kCloseButton);

  EXPECT_FALSE(window.dialog.IsShown());
  EXPECT_EQ(window.dialog.GetReturnCode(), 0);
  EXPECT_EQ(ReadWholeFile(settingsPath), "") << "no settings file is made";
  EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(CloseTest, TheCloseButtonKeepsWhatTheLastSearchSaved) {
  TempTree sources;
  MainDialogDriver window(settingsPath);
  window.Search(sources.Root());
  window.SetFolder("/elsewhere");

  window.Click(res::kCloseButton);

  EXPECT_EQ(IniValue("FinderRootPath"), sources.Root());
}

TEST_F(CloseTest, TheCloseRequestSavesTheFolderAsTyped) {
  MainDialogDriver window(settingsPath);
  window.SetFolder("  /typed folder  ");

  window.dialog.Close();

  EXPECT_FALSE(window.dialog.IsShown());
  EXPECT_EQ(window.dialog.GetReturnCode(), 0);
  EXPECT_EQ(ReadWholeFile(settingsPath), "[Quillmark]\nFinderRootPath=  /typed folder  \n");
  EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(CloseTest, TheSavedFolderIsShownAtTheNextStart) {
  platform::WritePrivateProfileString(settingsPath, "Quillmark", "FinderRootPath", "/last/folder");
  MainDialogDriver window(settingsPath);
  EXPECT_EQ(window.Text(res::kFolderEdit).GetValue().utf8_string(), "/last/folder");
  EXPECT_EQ(window.dialog.GetRootPath(), "/last/folder");
}

TEST_F(CloseTest, AFailedSaveOnCloseIsReportedAndTheWindowClosesAnyway) {
  MainDialogDriver window(settingsFolder.PathOf("no-such-folder/quillmark.ini"));

  window.dialog.Close();

  EXPECT_EQ(recorder.messages, std::vector{Warning("INIファイルに書き込めませんでした")});
  EXPECT_FALSE(window.dialog.IsShown());
}

class CloseDuringSearchTest : public CloseTest {
 protected:
  void SetUp() override {
    sources.WriteFile("a/1.c", std::string("\"") + kSjisNihon + "\"\n");
    sources.WriteFile("b/2.c", std::string("\"") + kSjisNihon + "\"\n");
  }
  TempTree sources;
  MainDialogDriver window{settingsPath};
};

TEST_F(CloseDuringSearchTest, TheCloseRequestStopsTheSearchAndClosesWithoutTheOutcomeBox) {
  window.StopAtReport("a/1.c", [&] {
    window.SetFolder(" typed during the search ");
    window.dialog.Close();
  });

  window.Search(sources.Root());
  DispatchEvents();  // the walk's word of its end comes after the close

  EXPECT_FALSE(window.dialog.IsShown());
  EXPECT_FALSE(window.dialog.IsBusy());
  EXPECT_TRUE(recorder.messages.empty());
  EXPECT_EQ(window.Rows().size(), 1u) << "folder b was never walked";
  EXPECT_EQ(ReadWholeFile(settingsPath), "[Quillmark]\nFinderRootPath= typed during the search \n");
  EXPECT_EQ(window.dialog.GetRootPath(), sources.Root());
}

TEST_F(CloseDuringSearchTest, TheCloseButtonStopsTheSearchToo) {
  window.StopAtReport("a/1.c", [&] { window.Click(res::kCloseButton); });

  window.Search(sources.Root());

  EXPECT_FALSE(window.dialog.IsShown());
  EXPECT_TRUE(recorder.messages.empty());
  EXPECT_EQ(window.Rows().size(), 1u);
  EXPECT_EQ(IniValue("FinderRootPath"), sources.Root());
}

}  // namespace
}  // namespace quillmark::testing
