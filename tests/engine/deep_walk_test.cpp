// A walk 30,000 folders deep: it must end with the right outcome, and the
// bytes it allocates on the way must grow with the depth, not with its
// square (every level once copying the whole path would take gigabytes).
#include <gtest/gtest.h>

#include <string>

#include "engine/source_finder.h"
#include "tests/support/allocation_hooks.h"
#include "tests/support/deep_tree.h"
#include "tests/support/memory_sink.h"
#include "tests/support/memory_temp_folder.h"
#include "tests/support/temp_tree.h"

namespace quillmark::engine {
namespace {

TEST(DeepWalkBig, ThirtyThousandNestedFoldersEndRightInLinearMemory) {
  constexpr int kDepth = 30000;
  const testing::ScopedMemoryTempFolder inMemory;
  testing::TempTree tree;
  testing::MakeNestedFolders(tree.Root(), kDepth, "d", "a.c", "\"\x82\xA0\"\n");

  testing::MemorySink sink;
  SearchOptions options = testing::OptionsFor(tree.Root());
  options.extensions = {"c"};
  options.trace = false;
  const std::size_t before = testing::AllocatedBytes();
  const bool completed = testing::WalkInto(sink, std::move(options));
  const std::size_t allocated = testing::AllocatedBytes() - before;

  EXPECT_TRUE(completed);
  ASSERT_EQ(sink.findings.size(), 1u);
  std::string expectedPath;
  for (int level = 0; level < kDepth; ++level) expectedPath += "d/";
  EXPECT_EQ(sink.findings[0].path, expectedPath + "a.c");
  EXPECT_EQ(sink.findings[0].line, 1);
  // Every folder listed, each its own report, and the file's.
  EXPECT_EQ(sink.folders, kDepth + 1);
  EXPECT_EQ(sink.reports, kDepth + 2);
  // A few hundred bytes a level; a path copied per level would need
  // 30,000 x 30 KB on average.
  EXPECT_LT(allocated, 64u << 20) << allocated / kDepth << " bytes a level";
  RecordProperty("AllocatedBytesPerLevel", std::to_string(allocated / kDepth));
  testing::RemoveDeepTree(tree.Root(), "d");
}

}  // namespace
}  // namespace quillmark::engine
