// The program started in a folder that is then removed: the settings file
// keeps its relative name, so reads find nothing and writes fail, and a
// relative search root names nothing, never "/".
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "app/quillmark_app.h"
#include "main_dialog_driver.h"
#include "message_recorder.h"
#include "platform/path.h"
#include "settings_dialog_driver.h"
#include "tests/support/temp_tree.h"

namespace quillmark::testing {
namespace {

namespace fs = std::filesystem;

const RecordedMessage kWriteFailed = Warning("INIファイルに書き込めませんでした");
constexpr const char* kRootSettingsFile = "/quillmark.ini";

bool Exists(const char* path) {
  struct stat status {};
  return lstat(path, &status) == 0;
}

class RemovedFolderTest : public ::testing::Test {
 protected:
  // The folder holds settings that must no longer be read once it is gone.
  void SetUp() override {
    tree.WriteFile("gone/quillmark.ini", "[Quillmark]\nEditorPath=/usr/bin/vim\nFinderRootPath=/src\n");
    inGone.emplace(tree.PathOf("gone"));
    fs::remove_all(tree.PathOf("gone"));
    ASSERT_FALSE(platform::CurrentDirectory());

    auto& app = dynamic_cast<app::QuillmarkApp&>(*wxTheApp);
    ASSERT_TRUE(app.OnInit());
    settingsPath = app.GetSettingsPath();
    window.emplace(settingsPath);
  }
  void TearDown() override {
    window.reset();
    inGone.reset();
    // Tests run as root: a file made in "/" is one the program must never
    // make, and is not left behind.
    if (!rootFileBefore && Exists(kRootSettingsFile)) {
      ADD_FAILURE() << kRootSettingsFile << " was written";
      unlink(kRootSettingsFile);
    }
  }

  TempTree tree;
  const bool rootFileBefore = Exists(kRootSettingsFile);
  std::optional<ScopedCurrentDirectory> inGone;
  std::string settingsPath;
  MessageRecorder recorder;
  std::optional<MainDialogDriver> window;
};

TEST_F(RemovedFolderTest, StartsWithTheDefaultsAndTheRelativeFileName) {
  EXPECT_EQ(settingsPath, "quillmark.ini");
  const editor::EditorSettings& values = window->dialog.GetSettingsDialog().values;
  EXPECT_EQ(values.editorPath, "xdg-open");
  EXPECT_EQ(window->Text(res::kFolderEdit).GetValue().utf8_string(), "");
  EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(RemovedFolderTest, SearchingTheCurrentFolderEndsInAnErrorWithTheReason) {
  window->Search(".");

  EXPECT_EQ(window->dialog.GetLogText(), "********** 解析開始(SJIS-JP) **********\n"
                                         "=== directory:.\n"
                                         "Error: failed to resolve the folder. (No such file or directory)\n"
                                         "********** 解析エラー(SJIS-JP) **********\n")
      << "no other folder, \"/\" least of all, is walked";
  EXPECT_TRUE(window->Rows().empty());
  EXPECT_EQ(window->Status(), "解析エラー(SJIS-JP).");
  EXPECT_EQ(recorder.messages, (std::vector{kWriteFailed, Information("解析エラー")})) << "FinderRootPath, then outcome";
}

TEST_F(RemovedFolderTest, OkInTheSettingsDialogAndTheCloseWarnOfEachFailedWrite) {
  SettingsDialogDriver settings(*window);
  settings.Open([&] { settings.Press(res::kSettingsOkButton); });
  EXPECT_EQ(recorder.messages, std::vector(5, kWriteFailed));

  recorder.messages.clear();
  window->SetFolder("/typed");
  window->dialog.Close();
  EXPECT_EQ(recorder.messages, std::vector{kWriteFailed});
  EXPECT_FALSE(window->dialog.IsShown());
}

}  // namespace
}  // namespace quillmark::testing
