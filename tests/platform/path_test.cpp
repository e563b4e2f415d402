#include "platform/path.h"

#include <gtest/gtest.h>

#include "tests/support/temp_tree.h"

namespace quillmark::platform {
namespace {

TEST(NormalizeAbsolutePath, ResolvesDotsAndFoldsSeparators) {
  const struct {
    const char* input;
    const char* expected;
  } cases[] = {
      {"/", "/"},
      {"//", "/"},
      {"/a/b/", "/a/b"},
      {"/a//b///c", "/a/b/c"},
      {"/a/./b/.", "/a/b"},
      {"/a/b/../c", "/a/c"},
      {"/a/../../..", "/"},
      {"/..", "/"},
      {"/a/..b/c..", "/a/..b/c.."},
  };
  for (const auto& c : cases) EXPECT_EQ(NormalizeAbsolutePath(c.input), c.expected) << c.input;
}

TEST(MakeAbsolutePath, ResolvesRelativePathsAgainstTheCurrentDirectory) {
  testing::TempTree tree;
  tree.MakeFolder("src");
  testing::ScopedCurrentDirectory inTree(tree.Root());
  EXPECT_EQ(MakeAbsolutePath("."), tree.Root());
  EXPECT_EQ(MakeAbsolutePath("src"), tree.Root() + "/src");
  EXPECT_EQ(MakeAbsolutePath("./src/"), tree.Root() + "/src");
  EXPECT_EQ(MakeAbsolutePath("src/../src"), tree.Root() + "/src");
  EXPECT_EQ(MakeAbsolutePath(""), tree.Root());
}

TEST(JoinPath, NeverDoublesTheSeparator) {
  EXPECT_EQ(JoinPath("/a", "b.c"), "/a/b.c");
  EXPECT_EQ(JoinPath("/", "b.c"), "/b.c");
}

TEST(RelativePath, GivesTheComponentsBelowTheFolder) {
  EXPECT_EQ(RelativePath("/r", "/r/a.c"), "a.c");
  EXPECT_EQ(RelativePath("/r", "/r/sub/deeper/a.c"), "sub/deeper/a.c");
  EXPECT_EQ(RelativePath("/", "/etc/a.c"), "etc/a.c");
  // A sibling whose name starts like the folder is not inside it.
  EXPECT_EQ(RelativePath("/r", "/rx/a.c"), "../rx/a.c");
  EXPECT_EQ(RelativePath("/a/b/c", "/a/x/y.c"), "../../x/y.c");
  EXPECT_EQ(RelativePath("relative", "/a/b.c"), "");
}

TEST(RelativePath, HasNoLengthLimit) {
  std::string folder = "/r";
  std::string below;
  for (int i = 0; i < 100; ++i) below += "component" + std::to_string(i) + "/";
  below += "file.c";
  EXPECT_EQ(RelativePath(folder, folder + "/" + below), below);
}

}  // namespace
}  // namespace quillmark::platform
