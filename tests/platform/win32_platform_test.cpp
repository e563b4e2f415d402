// What only the Windows build has: drive and share roots, names that
// compare without case, paths past MAX_PATH, and directory links that lead
// back up the walk.
#ifdef _WIN32
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/folder_listing.h"
#include "platform/open_folder.h"
#include "platform/path.h"
#include "platform/text_file.h"
#include "platform/win32/wide_text.h"
#include "tests/support/temp_tree.h"

namespace quillmark::platform {
namespace {

TEST(Win32Path, ReadsDrivesSharesAndBothSeparators) {
  const struct {
    const char* typed;
    const char* absolute;
  } cases[] = {
      {"C:/src/../lib//a.c", "C:\\lib\\a.c"},
      {"C:\\", "C:\\"},
      {"c:\\src\\.", "c:\\src"},
      {"\\\\server\\share\\dir\\..\\a.c", "\\\\server\\share\\a.c"},
      {"\\\\?\\C:\\long\\a.c", "C:\\long\\a.c"},
      {"\\\\?\\UNC\\server\\share\\a.c", "\\\\server\\share\\a.c"},
  };
  for (const auto& c : cases) EXPECT_EQ(MakeAbsolutePath(c.typed), std::string(c.absolute)) << c.typed;
  EXPECT_EQ(ParentFolder("C:\\a.c"), "C:\\");
  EXPECT_EQ(ParentFolder("C:\\src\\a.c"), "C:\\src");
  EXPECT_EQ(RelativePath("C:\\Src", "c:\\SRC\\Sub\\a.c"), "Sub\\a.c");
  EXPECT_EQ(RelativePath("C:\\src\\x", "C:\\src\\y\\a.c"), "..\\y\\a.c");
  EXPECT_EQ(RelativePath("C:\\src", "D:\\src\\a.c"), "");
}

TEST(Win32Files, ReadAndListPastTheOldPathLimit) {
  testing::TempTree tree;
  std::string folder = tree.Root();
  while (folder.size() < 400) {
    folder = JoinPath(folder, std::string(60, 'd'));
    ASSERT_TRUE(CreateDirectoryW(win32::ExtendedPath(folder).c_str(), nullptr)) << folder.size();
  }
  const std::string file = JoinPath(folder, "日本.c");
  const HANDLE out = CreateFileW(win32::ExtendedPath(file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(out, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(out, "a\r\nb\x1A" "c", 6, &written, nullptr);
  CloseHandle(out);

  const Result<FolderListing> listing = ListFolder(folder);
  ASSERT_TRUE(listing);
  ASSERT_EQ(listing->entries.size(), 1u);
  EXPECT_EQ(listing->entries[0].name, "日本.c");
  TextFile text;
  ASSERT_TRUE(text.Open(file));
  std::string line;
  ASSERT_TRUE(text.ReadLine(line));
  EXPECT_EQ(line, "a\n");  // CR LF read as LF
  ASSERT_TRUE(text.ReadLine(line));
  EXPECT_EQ(line, "b");  // 0x1A ends the file
  EXPECT_FALSE(text.ReadLine(line));
}

TEST(Win32Files, ALinkBackUpTheTreeHasTheIdentityOfItsTarget) {
  testing::TempTree tree;
  tree.MakeFolder("a");
  const std::string link = tree.PathOf("a\\loop");
  if (!CreateSymbolicLinkW(win32::ToWide(link).c_str(), win32::ToWide(tree.Root()).c_str(),
                           SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE))
    GTEST_SKIP() << "no directory links here";
  const DWORD attributes = GetFileAttributesW(win32::ToWide(link).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    GTEST_SKIP() << "the link was not kept as a link here";
  const Result<OpenFolder> root = OpenFolder::Open(tree.Root());
  const Result<FolderListing> inner = ListFolder(tree.PathOf("a"));
  ASSERT_TRUE(root && inner);
  ASSERT_EQ(inner->entries.size(), 1u);
  EXPECT_EQ(inner->entries[0].kind, EntryKind::Folder);
  EXPECT_EQ(inner->entries[0].identity, root->Identity());  // so the walk's guard stops there
}

}  // namespace
}  // namespace quillmark::platform
#endif
