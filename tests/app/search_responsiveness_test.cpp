// The window keeps answering while its search scans one very large file:
// posted events and clicks are handled at once, and 中止 ends the search.
// The only test with a clock in it: its bound is generous next to the
// milliseconds the event thread needs.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "main_dialog_driver.h"
#include "message_recorder.h"
#include "tests/support/temp_tree.h"

namespace quillmark::testing {
namespace {

using Clock = std::chrono::steady_clock;

// 1 GiB of code without a literal after one Japanese one: seconds of
// scanning at any speed, written in about one.
void WriteLargeSource(const std::string& path) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
  ASSERT_TRUE(file);
  const std::string first = std::string("char* s = \"") + kSjisNihon + "\";\n";
  ASSERT_EQ(std::fwrite(first.data(), 1, first.size(), file.get()), first.size());
  std::string chunk;
  while (chunk.size() < (1u << 20)) chunk += "int value = count * 2; /* no text here */\n";
  for (int i = 0; i < 1024; ++i) ASSERT_EQ(std::fwrite(chunk.data(), 1, chunk.size(), file.get()), chunk.size());
}

// How long the window takes to handle what `post` puts in its queue.
template <class Post, class Handled>
Clock::duration TimeToHandle(Post post, Handled handled) {
  const Clock::time_point start = Clock::now();
  post();
  EXPECT_TRUE(DispatchUntil(handled));
  return Clock::now() - start;
}

TEST(SearchResponsivenessBig, AnswersWhileOneHugeFileIsScannedAndStops) {
  TempTree sources;
  WriteLargeSource(sources.PathOf("huge.c"));
  TempTree settingsFolder;
  MessageRecorder recorder;
  MainDialogDriver window(settingsFolder.PathOf("quillmark.ini"));
  constexpr auto kBound = std::chrono::seconds(1);

  window.StartSearch(sources.Root());
  ASSERT_TRUE(window.dialog.IsBusy());

  bool ran = false;
  EXPECT_LT(TimeToHandle([&] { window.dialog.CallAfter([&] { ran = true; }); }, [&] { return ran; }), kBound);
  EXPECT_LT(TimeToHandle([&] { window.QueueClick(res::kClearLogButton); },
                         [&] { return window.dialog.GetLogText().empty(); }),
            kBound);
  ASSERT_TRUE(window.dialog.IsBusy()) << "the file was scanned before the checks: make it larger";

  window.QueueClick(res::kStopButton);
  window.WaitForSearch();

  EXPECT_EQ(recorder.messages, std::vector{Information("解析エラー")});
  EXPECT_EQ(window.Status(), "解析エラー(SJIS-JP).");
  EXPECT_TRUE(window.dialog.GetLogText().ends_with("********** 解析エラー(SJIS-JP) **********\n"));
  EXPECT_TRUE(window.Button(res::kSearchButton).IsShown());
}

}  // namespace
}  // namespace quillmark::testing
