// A lack of memory ends no window: at the start the settings that could
// not be read keep their defaults, a search ends in an error, a command
// loses its work; each time a warning says why and the window goes on.
#include <gtest/gtest.h>
#include <wx/app.h>

#include <new>
#include <optional>
#include <stdexcept>

#include "tests/support/allocation_hooks.h"
#include "editor/settings_dialog.h"
#include "main_dialog_driver.h"
#include "message_recorder.h"
#include "tests/support/temp_tree.h"

namespace quillmark::testing {
namespace {

const RecordedMessage kOutOfMemory = Warning("メモリが不足しています。");
constexpr std::size_t kLimit = 1 << 20;

class OutOfMemoryTest : public ::testing::Test {
 protected:
  void ExpectIdle(MainDialogDriver& window) {
    EXPECT_TRUE(window.Button(res::kSearchButton).IsShown());
    EXPECT_TRUE(window.Button(res::kSearchButton).IsEnabled());
    EXPECT_FALSE(window.Button(res::kStopButton).IsShown());
    EXPECT_TRUE(window.dialog.IsShown());
  }

  TempTree settingsFolder;
  std::string settingsPath = settingsFolder.PathOf("quillmark.ini");
  TempTree sources;
  MessageRecorder recorder;
};

// A settings file of 8 MiB cannot be read whole under the limit.
TEST_F(OutOfMemoryTest, AtTheStartTheWindowWarnsRunsOnTheDefaultsAndLeavesTheFileAlone) {
  const std::string settings = "[Quillmark]\nEditorPath=/usr/bin/vim\nFinderRootPath=/saved\n; " +
                               std::string(8 << 20, 'x') + "\n";
  settingsFolder.WriteFile("quillmark.ini", settings);
  std::optional<MainDialogDriver> window;
  {
    ScopedAllocationLimit limit(kLimit);
    ASSERT_NO_THROW(window.emplace(settingsPath));
    EXPECT_GT(limit.Refused(), 0u);
  }

  EXPECT_EQ(recorder.messages, std::vector{kOutOfMemory});
  EXPECT_EQ(window->dialog.GetSettingsDialog().values.editorPath, "xdg-open");
  EXPECT_EQ(window->Text(res::kFolderEdit).GetValue().utf8_string(), "");
  ExpectIdle(*window);

  window->dialog.Close();

  EXPECT_EQ(ReadWholeFile(settingsPath), settings) << "the folder that could not be read is not saved over";
  EXPECT_EQ(recorder.messages, std::vector{kOutOfMemory});
}

// Each write of a settings file of 8 MiB reads it whole first.
TEST_F(OutOfMemoryTest, AWriteThatRunsOutOfMemoryIsReportedAndTheCommandGoesOn) {
  const std::string settings = "[Quillmark]\nFinderRootPath=/saved\n; " + std::string(8 << 20, 'x') + "\n";
  settingsFolder.WriteFile("quillmark.ini", settings);
  sources.WriteFile("a.c", std::string("\"") + kSjisNihon + "\"\n");
  MainDialogDriver window(settingsPath);
  std::optional<ScopedAllocationLimit> limit(kLimit);

  window.Search(sources.Root());

  EXPECT_EQ(recorder.messages, (std::vector{kOutOfMemory, Information("解析完了")})) << "FinderRootPath, then outcome";
  EXPECT_EQ(window.Rows().size(), 1u);

  recorder.messages.clear();
  window.SetFolder("/elsewhere");
  window.dialog.Close();

  EXPECT_EQ(recorder.messages, std::vector{kOutOfMemory});
  EXPECT_FALSE(window.dialog.IsShown());
  EXPECT_GT(limit->Refused(), 0u);
  limit.reset();
  EXPECT_EQ(ReadWholeFile(settingsPath), settings);
}

// A line of 4 MiB cannot be held under the limit.
TEST_F(OutOfMemoryTest, ASearchThatRunsOutOfMemoryWarnsAndTheWindowGoesOn) {
  MainDialogDriver window(settingsPath);
  sources.WriteFile("a.c", std::string("\"") + kSjisNihon + "\"\n");
  sources.WriteFile("b.c", std::string(4 << 20, 'x'));
  {
    ScopedAllocationLimit limit(kLimit);
    window.Search(sources.Root());
    EXPECT_GT(limit.Refused(), 0u);
  }

  EXPECT_EQ(window.Rows(), (std::vector<Row>{{Padded("日本", 4), "1", "a.c"}}));
  EXPECT_EQ(window.Status(), "解析エラー(SJIS-JP).");
  EXPECT_EQ(recorder.messages, (std::vector{kOutOfMemory, Information("解析エラー")}));
  ExpectIdle(window);

  recorder.messages.clear();
  window.Search(sources.Root());
  EXPECT_EQ(recorder.messages, std::vector{Information("解析完了")});
}

TEST_F(OutOfMemoryTest, OnlyALackOfMemoryInACommandIsCaught) {
  MainDialogDriver window(settingsPath);
  window.dialog.SetFolderChooser([](wxWindow*, const std::string&) -> std::optional<std::string> {
    throw std::bad_alloc();
  });
  EXPECT_NO_THROW(window.Click(res::kBrowseButton));
  EXPECT_EQ(recorder.messages, std::vector{kOutOfMemory});
  ExpectIdle(window);

  // Any other exception ends the program as it always did.
  window.dialog.SetFolderChooser([](wxWindow*, const std::string&) -> std::optional<std::string> {
    throw std::logic_error("not memory");
  });
  EXPECT_THROW(window.Click(res::kBrowseButton), std::logic_error);

  window.dialog.SetFolderChooser([](wxWindow*, const std::string&) { return std::optional<std::string>("/chosen"); });
  window.Click(res::kBrowseButton);
  EXPECT_EQ(window.Text(res::kFolderEdit).GetValue().utf8_string(), "/chosen");
  EXPECT_EQ(recorder.messages, std::vector{kOutOfMemory});
}

// The outcome box cannot be shown: the search still returns to idle.
TEST_F(OutOfMemoryTest, ASearchCutShortAfterItsWalkStillReturnsToIdle) {
  MainDialogDriver window(settingsPath);
  sources.WriteFile("a.c", std::string("\"") + kSjisNihon + "\"\n");
  recorder.onMessage = [](const RecordedMessage& message) {
    if (message.text == "解析完了") throw std::bad_alloc();
  };

  EXPECT_NO_THROW(window.Search(sources.Root()));

  EXPECT_EQ(recorder.messages, (std::vector{Information("解析完了"), kOutOfMemory}));
  ExpectIdle(window);
  EXPECT_EQ(window.Rows().size(), 1u);
}

// What escapes past the handlers reaches the event loop's hook.
TEST(EventLoopException, ALackOfMemoryKeepsTheLoopRunningAndAnythingElseIsRethrown) {
  MessageRecorder recorder;
  try {
    throw std::bad_alloc();
  } catch (...) {
    bool goOn = false;
    EXPECT_NO_THROW(goOn = wxTheApp->OnExceptionInMainLoop());
    EXPECT_TRUE(goOn);
  }
  EXPECT_EQ(recorder.messages, std::vector{kOutOfMemory});

  try {
    throw std::runtime_error("not memory");
  } catch (...) {
    EXPECT_THROW(wxTheApp->OnExceptionInMainLoop(), std::runtime_error);
  }
  EXPECT_EQ(recorder.messages.size(), 1u);
}

}  // namespace
}  // namespace quillmark::testing
