#include "cli/console_sink.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "engine/source_finder.h"
#include "tests/support/temp_tree.h"

namespace quillmark::cli {
namespace {

// Output that cannot be written (a reader gone, a full disk) ends the walk
// at the next entry instead of failing once per finding to its end.
TEST(ConsoleSink, AFailedWriteStopsTheWalk) {
  testing::TempTree tree;
  for (const char* name : {"a/x.c", "b/x.c", "c/x.c"}) tree.WriteFile(name, "\"\x82\xA0\"\n");
  std::FILE* full = std::fopen("/dev/full", "w");
  ASSERT_NE(full, nullptr);
  std::setvbuf(full, nullptr, _IONBF, 0);
  ConsoleSink sink(full, stderr, ConsoleSettings{});
  sink.SetRoot(tree.Root(), tree.Root(), false);
  engine::SearchOptions options;
  options.root = tree.Root();
  options.extensions = {"c"};
  sink.Configure(options);
  engine::SourceFinder finder(std::move(options), sink);

  EXPECT_FALSE(finder.Walk());
  EXPECT_EQ(finder.Failure().kind, engine::WalkFailure::Kind::Stopped);
  EXPECT_TRUE(sink.OutputFailed());
  EXPECT_EQ(sink.FindingCount(), 1u);
  std::fclose(full);
}

}  // namespace
}  // namespace quillmark::cli
