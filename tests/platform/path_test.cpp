#include "platform/path.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

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
  EXPECT_EQ(CurrentDirectory().value_or(""), tree.Root());
  const struct {
    const char* path;
    std::string expected;
  } cases[] = {
      {".", tree.Root()},
      {"src", tree.Root() + "/src"},
      {"./src/", tree.Root() + "/src"},
      {"src/../src", tree.Root() + "/src"},
      {"", tree.Root()},
  };
  for (const auto& c : cases) EXPECT_EQ(MakeAbsolutePath(c.path).value_or("(failed)"), c.expected) << c.path;
}

// With the current directory gone, a relative path names nothing: an error,
// not a path made up from somewhere else. An absolute one needs no folder.
TEST(MakeAbsolutePath, FailsForARelativePathWhenTheCurrentDirectoryIsGone) {
  testing::TempTree tree;
  tree.MakeFolder("gone");
  testing::ScopedCurrentDirectory inTree(tree.Root());
  ASSERT_EQ(::chdir(tree.PathOf("gone").c_str()), 0);
  std::filesystem::remove(tree.PathOf("gone"));
  const Result<std::string> current = CurrentDirectory();
  ASSERT_FALSE(current);
  EXPECT_EQ(current.error().code, ENOENT);
  for (const char* relative : {".", "src", ""}) {
    const Result<std::string> absolute = MakeAbsolutePath(relative);
    ASSERT_FALSE(absolute) << relative;
    EXPECT_EQ(absolute.error().code, ENOENT) << relative;
  }
  EXPECT_EQ(MakeAbsolutePath("/a/./b").value_or("(failed)"), "/a/b");
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
