// The settings file when it is odd, unreadable or cannot be replaced: a
// read gives what it can, and a write either succeeds whole or leaves the
// old file exactly as it was, with no stray file beside it.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <random>
#include <set>
#include <string>

#include "platform/private_profile.h"
#include "tests/support/scoped_tmpfs.h"
#include "tests/support/temp_tree.h"

namespace quillmark::platform {
namespace {

namespace fs = std::filesystem;
using testing::ReadWholeFile;
using testing::ScopedTmpfs;
using testing::TempTree;

std::set<std::string> NamesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

std::string Get(const std::string& path, std::string_view key) {
  return GetPrivateProfileString(path, "Quillmark", key, "DEF");
}

bool Put(const std::string& path, std::string_view key, std::string_view value) {
  return WritePrivateProfileString(path, "Quillmark", key, value);
}

TEST(SettingsFileFaults, AHugeFileIsReadAndRewrittenByteForByte) {
  TempTree tree;
  const std::string path = tree.PathOf("quillmark.ini");
  std::string filler;
  for (int i = 0; i < 20000; ++i) filler += "; line " + std::to_string(i) + " of a long comment block\n";
  filler += std::string(1u << 20, 'x') + "\n";  // one 1 MB line
  const std::string before = filler + "[Quillmark]\r\nKey=old\r\nLast=1";
  tree.WriteFile("quillmark.ini", before);

  EXPECT_EQ(Get(path, "Key"), "old");
  EXPECT_EQ(Get(path, "Last"), "1");
  ASSERT_TRUE(Put(path, "Key", "new"));
  ASSERT_TRUE(Put(path, "Added", "2"));
  EXPECT_EQ(ReadWholeFile(path), filler + "[Quillmark]\r\nKey=new\r\nLast=1\nAdded=2\n");
  EXPECT_EQ(NamesIn(tree.Root()), std::set<std::string>{"quillmark.ini"});
}

TEST(SettingsFileFaults, ABinaryFileKeepsItsBytesAndGainsTheSection) {
  std::mt19937 random(5);
  std::string noise(64 * 1024, '\0');
  for (char& byte : noise) byte = static_cast<char>(random() & 0xFF);
  TempTree tree;
  const std::string path = tree.PathOf("quillmark.ini");
  tree.WriteFile("quillmark.ini", noise);

  EXPECT_EQ(Get(path, "Key"), "DEF");
  ASSERT_TRUE(Put(path, "Key", "v"));
  const std::string after = ReadWholeFile(path);
  EXPECT_EQ(after.substr(0, noise.size()), noise);
  EXPECT_TRUE(after.ends_with("[Quillmark]\nKey=v\n") || after.ends_with("[Quillmark]\r\nKey=v\r\n"));
  EXPECT_LE(after.size(), noise.size() + 22);
  EXPECT_EQ(Get(path, "Key"), "v");
}

TEST(SettingsFileFaults, AFileThatCannotBeOpenedIsNeverReplaced) {
  TempTree tree;
  tree.MakeLink("quillmark.ini", "loop.ini");
  tree.MakeLink("loop.ini", "quillmark.ini");
  const std::string path = tree.PathOf("quillmark.ini");

  EXPECT_EQ(Get(path, "Key"), "DEF");
  EXPECT_FALSE(Put(path, "Key", "v"));
  EXPECT_EQ(fs::read_symlink(path), "loop.ini");
  EXPECT_EQ(NamesIn(tree.Root()), (std::set<std::string>{"quillmark.ini", "loop.ini"}));
}

// Where the permission bits bind (not for root: see the tmpfs cases).
TEST(SettingsFileFaults, AFolderWithoutWritePermissionLeavesTheFileAlone) {
  if (geteuid() == 0) GTEST_SKIP() << "permission bits do not bind root";
  TempTree tree;
  const std::string path = tree.PathOf("locked/quillmark.ini");
  tree.WriteFile("locked/quillmark.ini", "[Quillmark]\nKey=old\n");
  fs::permissions(tree.PathOf("locked"), fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_FALSE(Put(path, "Key", "new"));
  EXPECT_EQ(Get(path, "Key"), "old");
  EXPECT_EQ(NamesIn(tree.PathOf("locked")), std::set<std::string>{"quillmark.ini"});
}

// ---- File systems that refuse the write -------------------------------------

class SettingsOnTmpfs : public ::testing::Test {
 protected:
  void SetUp() override {
    tmpfs_.emplace(tree_.PathOf("fs"), 64 * 1024);
    if (!tmpfs_->Mounted()) GTEST_SKIP() << "cannot mount a tmpfs here";
    path_ = tmpfs_->Folder() + "/quillmark.ini";
    ASSERT_TRUE(Put(path_, "Key", "old"));
    ASSERT_TRUE(Put(path_, "Other", "kept"));
    before_ = ReadWholeFile(path_);
  }

  // Fills every block that is left but `spareBytes`; returns the filler.
  std::string Fill(off_t spareBytes) {
    const std::string filler = tmpfs_->Folder() + "/filler";
    const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    EXPECT_GE(fd, 0);
    const std::string block(4096, 'f');
    off_t size = 0;
    for (ssize_t count; (count = ::write(fd, block.data(), block.size())) > 0;) size += count;
    EXPECT_EQ(errno, ENOSPC);
    EXPECT_EQ(ftruncate(fd, size > spareBytes ? size - spareBytes : 0), 0);
    ::close(fd);
    return filler;
  }

  void ExpectTheOldFileAlone() {
    EXPECT_EQ(ReadWholeFile(path_), before_);
    EXPECT_EQ(NamesIn(tmpfs_->Folder()), std::set<std::string>{"quillmark.ini"});
  }

  TempTree tree_;
  std::optional<ScopedTmpfs> tmpfs_;
  std::string path_;
  std::string before_;
};

TEST_F(SettingsOnTmpfs, AFullDiskLeavesTheOldFileWhole) {
  const std::string filler = Fill(0);

  EXPECT_FALSE(Put(path_, "Key", std::string(8192, 'n')));
  EXPECT_EQ(Get(path_, "Key"), "old");
  fs::remove(filler);
  ExpectTheOldFileAlone();

  // With room again, the same write goes through.
  EXPECT_TRUE(Put(path_, "Key", std::string(8192, 'n')));
  EXPECT_EQ(Get(path_, "Key"), std::string(4095, 'n'));
  EXPECT_EQ(Get(path_, "Other"), "kept");
}

// One page left: room for a small file's new copy, not for a long value.
// Each write succeeds or fails whole, and the others still go through.
TEST_F(SettingsOnTmpfs, ANearlyFullDiskTakesTheWritesThatFit) {
  const std::string filler = Fill(4096);
  EXPECT_FALSE(Put(path_, "Key", std::string(16384, 'n')));
  EXPECT_TRUE(Put(path_, "Other", "new"));
  EXPECT_TRUE(Put(path_, "Added", "x"));
  EXPECT_FALSE(Put(path_, "Key", std::string(16384, 'n')));
  EXPECT_EQ(ReadWholeFile(path_), "[Quillmark]\nKey=old\nOther=new\nAdded=x\n");
  EXPECT_EQ(NamesIn(tmpfs_->Folder()), (std::set<std::string>{"quillmark.ini", "filler"}));
}

TEST_F(SettingsOnTmpfs, AFolderThatRefusesWritingLeavesTheFileAlone) {
  ASSERT_TRUE(tmpfs_->SetReadOnly(true));
  EXPECT_FALSE(Put(path_, "Key", "new"));
  EXPECT_FALSE(Put(path_, "Added", "new"));
  EXPECT_EQ(Get(path_, "Key"), "old");
  ASSERT_TRUE(tmpfs_->SetReadOnly(false));
  ExpectTheOldFileAlone();
}

}  // namespace
}  // namespace quillmark::platform
