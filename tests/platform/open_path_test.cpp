#include "platform/posix/open_path.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <string>

#include "tests/support/deep_tree.h"
#include "tests/support/temp_tree.h"

namespace quillmark::platform {
namespace {

using testing::MakeNestedFolders;
using testing::TempTree;

std::string ReadAll(int fd) {
  std::string bytes;
  char buffer[256];
  for (ssize_t count; (count = ::read(fd, buffer, sizeof buffer)) > 0;) bytes.append(buffer, count);
  return bytes;
}

TEST(OpenPath, OpensPathsLongerThanTheSystemLimit) {
  TempTree tree;
  const std::string name(100, 'n');
  MakeNestedFolders(tree.Root(), 60, name, "a.c", "text");
  std::string folder = tree.Root();
  for (int i = 0; i < 60; ++i) folder += "/" + name;
  ASSERT_GT(folder.size(), static_cast<std::size_t>(PATH_MAX));

  EXPECT_EQ(::open((folder + "/a.c").c_str(), O_RDONLY), -1);  // what the plain call gives
  const int fd = OpenPath(folder + "/a.c", O_RDONLY | O_CLOEXEC);
  ASSERT_GE(fd, 0) << errno;
  EXPECT_EQ(ReadAll(fd), "text");
  ::close(fd);

  errno = 0;
  EXPECT_EQ(OpenPath(folder + "/missing/a.c", O_RDONLY), -1);
  EXPECT_EQ(errno, ENOENT);
  EXPECT_EQ(OpenPath(folder + "/a.c/b.c", O_RDONLY), -1);
  EXPECT_EQ(errno, ENOTDIR);
  EXPECT_EQ(OpenPath(folder + "/" + std::string(PATH_MAX, 'x'), O_RDONLY), -1);
  EXPECT_EQ(errno, ENAMETOOLONG);

  testing::RemoveDeepTree(tree.Root(), name);
}

}  // namespace
}  // namespace quillmark::platform
