// Many editor starts in a row, each of a program that ends at once: every
// child is reaped by its own thread, and nothing of the starts stays behind.
// tests/soak/run.sh runs the same case with QUILLMARK_SOAK_STARTS=10000.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/execute_program.h"
#include "tests/support/long_run_count.h"
#include "tests/support/process_resources.h"
#include "tests/support/recording_program.h"

namespace quillmark::platform {
namespace {

using testing::kProcessDeadline;

// The reaper threads end a moment after their child: polls until the
// thread count is back to `count`, up to kProcessDeadline.
bool WaitForThreadCount(std::size_t count) {
  const auto deadline = std::chrono::steady_clock::now() + kProcessDeadline;
  while (testing::ThreadCount() != count) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

TEST(ExecuteProgramLongRunBig, ThousandsOfStartsLeaveNoZombieThreadOrDescriptor) {
  const int starts = testing::LongRunCount("QUILLMARK_SOAK_STARTS", 1500);
  const std::size_t descriptorsBefore = testing::OpenDescriptorCount();
  const std::size_t threadsBefore = testing::ThreadCount();

  for (int start = 0; start < starts; ++start) {
    const ExecuteResult result = ExecuteProgram({"true"});
    ASSERT_TRUE(result.Started()) << "start " << start << ": " << ExecuteErrorMessage(result.error);
  }

  EXPECT_TRUE(testing::WaitUntilNoChild()) << "a child of the " << starts << " starts is left";
  EXPECT_TRUE(WaitForThreadCount(threadsBefore)) << testing::ThreadCount() << " threads, " << threadsBefore
                                                 << " before";
  EXPECT_EQ(testing::OpenDescriptorCount(), descriptorsBefore);
}

}  // namespace
}  // namespace quillmark::platform
