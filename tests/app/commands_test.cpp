// The browse button of the main window.
#include <gtest/gtest.h>

#include "main_dialog_driver.h"
#include "message_recorder.h"
#include "platform/path.h"
#include "tests/support/temp_tree.h"

namespace quillmark::testing {
namespace {

class CommandsTest : public ::testing::Test {
 protected:
  void ChooseWith(std::optional<std::string> choice) {
    window.dialog.SetFolderChooser([this, choice](wxWindow*, const std::string& start) {
      startedAt.push_back(start);
      return choice;
    });
  }
  std::string FolderEdit() { return window.Text(res::kFolderEdit).GetValue().utf8_string(); }

  TempTree settingsFolder;
  std::string settingsPath = settingsFolder.PathOf("quillmark.ini");
  MessageRecorder recorder;
  MainDialogDriver window{settingsPath};
  std::vector<std::string> startedAt;
};

TEST_F(CommandsTest, BrowseStartsAtTheTypedFolderAndFillsInTheChoice) {
  ChooseWith("/chosen/日本");
  window.SetFolder("/typed");

  window.Click(res::kBrowseButton);

  EXPECT_EQ(startedAt, std::vector<std::string>{"/typed"});
  EXPECT_EQ(FolderEdit(), "/chosen/日本");
  EXPECT_EQ(window.dialog.GetRootPath(), "") << "the root path follows at the next search";
  EXPECT_EQ(ReadWholeFile(settingsPath), "");
}

TEST_F(CommandsTest, BrowseWithAnEmptyEditStartsAtTheCurrentDirectory) {
  TempTree here;
  ScopedCurrentDirectory inside(here.Root());
  ChooseWith(std::nullopt);

  window.Click(res::kBrowseButton);

  EXPECT_EQ(startedAt, std::vector<std::string>{platform::CurrentDirectory().value()});
  EXPECT_EQ(FolderEdit(), "") << "a cancelled browse changes nothing";
}

}  // namespace
}  // namespace quillmark::testing
