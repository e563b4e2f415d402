// Two hundred searches in a row in the real window, the log cleared before
// each as a user would: what a search holds is given back, so memory and
// descriptors stay flat. LeakSanitizer (sanitizer build) and Valgrind
// (tests/soak/run.sh) check at exit that nothing was lost on the way; the
// soak script also runs more searches through QUILLMARK_SOAK_SEARCHES.
#include <gtest/gtest.h>

#include "main_dialog_driver.h"
#include "message_recorder.h"
#include "tests/support/long_run_count.h"
#include "tests/support/process_resources.h"
#include "tests/support/temp_tree.h"

namespace quillmark::testing {
namespace {

// Warm-up: by then the toolkit has loaded its fonts and caches.
constexpr int kBaselineSearch = 50;
// Far above noise, far below what a search's rows and log would cost if
// each stayed behind.
constexpr std::size_t kMemoryGrowthBound = 8u << 20;

TEST(SearchLongRunBig, TwoHundredSearchesKeepMemoryAndDescriptorsFlat) {
  const int searches = LongRunCount("QUILLMARK_SOAK_SEARCHES", 200);
  ASSERT_GT(searches, kBaselineSearch);
  TempTree sources;
  for (int file = 0; file < 8; ++file) {
    sources.WriteFile("dir" + std::to_string(file % 3) + "/f" + std::to_string(file) + ".c",
                      std::string("char* a = \"") + kSjisNihon + "\";\n/* x */ \"" + kSjisTesuto + "\"\n");
  }
  TempTree settingsFolder;
  MessageRecorder recorder;
  MainDialogDriver window(settingsFolder.PathOf("quillmark.ini"));

  std::size_t memoryAtBaseline = 0;
  std::size_t descriptorsAtBaseline = 0;
  for (int search = 1; search <= searches; ++search) {
    recorder.messages.clear();
    window.Click(res::kClearLogButton);
    window.Search(sources.Root());

    ASSERT_EQ(window.List().GetItemCount(), 16) << "search " << search;
    ASSERT_EQ(recorder.messages, std::vector{Information("解析完了")}) << "search " << search;
    if (search == kBaselineSearch) {
      memoryAtBaseline = MemoryInUseBytes();
      descriptorsAtBaseline = OpenDescriptorCount();
    }
  }

  const std::size_t memoryAtEnd = MemoryInUseBytes();
  EXPECT_LE(memoryAtEnd, memoryAtBaseline + kMemoryGrowthBound)
      << "in use: " << memoryAtBaseline / 1024 << " KB after search " << kBaselineSearch << ", "
      << memoryAtEnd / 1024 << " KB after search " << searches;
  EXPECT_EQ(OpenDescriptorCount(), descriptorsAtBaseline);
  EXPECT_TRUE(window.dialog.GetLogText().ends_with("********** 解析終了(SJIS-JP) **********\n"));
}

}  // namespace
}  // namespace quillmark::testing
