// The settings file when it is odd, unreadable or cannot be replaced: a
// read gives what it can, and a write either succeeds whole or leaves the
// old file exactly as it was, with no stray file beside it (but where the
// folder allows nothing but writing in place).
#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

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

// ---- What the user may write ----------------------------------------------

// Permission bits do not bind root, so as root the write runs in a child
// that has become "nobody"; otherwise it runs here as the user.
constexpr uid_t kNobody = 65534;

uid_t WriterUid() { return geteuid() == 0 ? kNobody : geteuid(); }
gid_t WriterGid() { return geteuid() == 0 ? kNobody : getegid(); }

// The result of `write` as the writer; nothing when the writer cannot be
// made or cannot reach `folder`.
std::optional<bool> WriteAsTheUser(const std::string& folder, const std::function<bool()>& write) {
  if (geteuid() != 0) return write();
  const pid_t child = fork();
  if (child < 0) return std::nullopt;
  if (child == 0) {
    if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(3);
    if (access(folder.c_str(), X_OK) != 0) _exit(3);
    _exit(write() ? 0 : 1);
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child) return std::nullopt;
  if (!WIFEXITED(status) || WEXITSTATUS(status) > 3) {
    ADD_FAILURE() << "the writing child ended with status " << status;
    return std::nullopt;
  }
  if (WEXITSTATUS(status) == 3) return std::nullopt;
  return WEXITSTATUS(status) == 0;
}

// A settings file, its folder, and their owners and modes. "Another user"
// is root, so those cases run only as root.
struct Ownership {
  mode_t folderMode;
  bool othersFolder;
  mode_t fileMode;
  bool othersFile;
};

constexpr char kBefore[] = "[Quillmark]\nKey=old\nOther=kept\n";
constexpr char kAfter[] = "[Quillmark]\nKey=new\nOther=kept\n";

class OwnedSettings {
 public:
  // False when this user cannot give the files these owners.
  bool Make(const Ownership& o) {
    if ((o.othersFolder || o.othersFile) && geteuid() != 0) return false;
    fs::permissions(tree_.Root(), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    tree_.WriteFile("settings/quillmark.ini", kBefore);
    const uid_t folderUid = o.othersFolder ? 0 : WriterUid(), fileUid = o.othersFile ? 0 : WriterUid();
    const gid_t folderGid = o.othersFolder ? 0 : WriterGid(), fileGid = o.othersFile ? 0 : WriterGid();
    return chown(path_.c_str(), fileUid, fileGid) == 0 && chmod(path_.c_str(), o.fileMode) == 0 &&
           chown(folder_.c_str(), folderUid, folderGid) == 0 && chmod(folder_.c_str(), o.folderMode) == 0 &&
           stat(path_.c_str(), &made_) == 0;
  }

  std::optional<bool> WriteAsUser(std::string_view key, std::string_view value) const {
    return WriteAsTheUser(folder_, [&] { return Put(path_, key, value); });
  }

  std::string Content() const { return ReadWholeFile(path_); }
  std::set<std::string> Names() const { return NamesIn(folder_); }

  // The same file as made, with the same owner and mode.
  void ExpectTheSameFile() const {
    struct stat now {};
    ASSERT_EQ(stat(path_.c_str(), &now), 0);
    EXPECT_EQ(now.st_ino, made_.st_ino);
    EXPECT_EQ(now.st_uid, made_.st_uid);
    EXPECT_EQ(now.st_mode, made_.st_mode);
  }

 private:
  TempTree tree_;
  std::string folder_ = tree_.PathOf("settings");
  std::string path_ = tree_.PathOf("settings/quillmark.ini");
  struct stat made_ {};
};

TEST(SettingsPermissions, AFileTheUserMayNotWriteIsNeverReplaced) {
  struct Case {
    const char* what;
    Ownership ownership;
    bool written;
  };
  const Case cases[] = {
      {"the user's file in the user's folder", {0755, false, 0644, false}, true},
      {"a read-only file", {0755, false, 0444, false}, false},
      {"another user's file in the user's folder", {0755, false, 0644, true}, false},
      {"a read-only file in a read-only folder", {0555, false, 0444, false}, false},
      {"another user's file in a sticky folder", {01777, true, 0644, true}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    OwnedSettings settings;
    if (!settings.Make(c.ownership)) {
      std::printf("  (row skipped, it needs root to give files another owner: %s)\n", c.what);
      continue;
    }
    const std::optional<bool> written = settings.WriteAsUser("Key", "new");
    if (!written) GTEST_SKIP() << "cannot write as an unprivileged user here";
    EXPECT_EQ(*written, c.written);
    EXPECT_EQ(settings.Content(), c.written ? kAfter : kBefore);
    if (!c.written) settings.ExpectTheSameFile();
    EXPECT_EQ(settings.Names(), std::set<std::string>{"quillmark.ini"});
  }
}

// The folder will not take the temporary file, or will not let it replace
// another user's file, but the file itself may be written.
TEST(SettingsPermissions, AWritableFileInAFolderThatRefusesTheTemporaryIsWrittenInPlace) {
  const std::pair<const char*, Ownership> cases[] = {
      {"the user's file in a read-only folder", {0555, false, 0644, false}},
      {"the user's file in another user's folder", {0755, true, 0600, false}},
      {"another user's writable file in a sticky folder", {01777, true, 0666, true}},
  };
  for (const auto& [what, ownership] : cases) {
    SCOPED_TRACE(what);
    OwnedSettings settings;
    if (!settings.Make(ownership)) {
      std::printf("  (row skipped, it needs root to give files another owner: %s)\n", what);
      continue;
    }
    const std::optional<bool> written = settings.WriteAsUser("Key", "new");
    if (!written) GTEST_SKIP() << "cannot write as an unprivileged user here";
    EXPECT_TRUE(*written);
    EXPECT_EQ(settings.Content(), kAfter);
    // Shorter, then longer than the file was: it takes the new length.
    EXPECT_EQ(settings.WriteAsUser("Other", "k"), true);
    EXPECT_EQ(settings.Content(), "[Quillmark]\nKey=new\nOther=k\n");
    EXPECT_EQ(settings.WriteAsUser("Added", "a longer value than the file held"), true);
    EXPECT_EQ(settings.Content(), "[Quillmark]\nKey=new\nOther=k\nAdded=a longer value than the file held\n");
    settings.ExpectTheSameFile();
    EXPECT_EQ(settings.Names(), std::set<std::string>{"quillmark.ini"});
  }
}

// ---- Links and leftovers ----------------------------------------------------

TEST(SettingsFileFaults, ADanglingLinkIsFollowedAndItsTargetCreated) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::string, std::string>> links;  // a target starting "/" is below the tree
    std::string path;
    std::string file;  // where the settings must land; empty when the write must fail
  };
  const Case cases[] = {
      {"a link to a missing file", {{"quillmark.ini", "real/settings.ini"}}, "quillmark.ini", "real/settings.ini"},
      {"a relative target from the link's folder",
       {{"links/quillmark.ini", "../real/settings.ini"}},
       "links/quillmark.ini",
       "real/settings.ini"},
      {"an absolute target", {{"quillmark.ini", "/real/settings.ini"}}, "quillmark.ini", "real/settings.ini"},
      {"a chain of links",
       {{"quillmark.ini", "links/middle.ini"}, {"links/middle.ini", "../real/settings.ini"}},
       "quillmark.ini",
       "real/settings.ini"},
      {"a link into a missing folder", {{"quillmark.ini", "missing/settings.ini"}}, "quillmark.ini", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempTree tree;
    tree.MakeFolder("real");
    tree.MakeFolder("links");
    for (const auto& [link, target] : c.links)
      tree.MakeLink(link, target.starts_with('/') ? tree.PathOf(target.substr(1)) : target);
    const std::string path = tree.PathOf(c.path);

    EXPECT_EQ(Put(path, "Key", "v"), !c.file.empty());
    for (const auto& [link, target] : c.links) {
      const bool stillALink = fs::is_symlink(tree.PathOf(link));
      EXPECT_TRUE(stillALink) << link;
      if (stillALink) {
        EXPECT_EQ(fs::read_symlink(tree.PathOf(link)), target.starts_with('/') ? tree.PathOf(target.substr(1)) : target);
      }
    }
    if (!c.file.empty()) {
      EXPECT_EQ(ReadWholeFile(tree.PathOf(c.file)), "[Quillmark]\nKey=v\n");
      EXPECT_EQ(Get(path, "Key"), "v");
    }
    EXPECT_EQ(NamesIn(tree.PathOf("real")), c.file.empty() ? std::set<std::string>{} : std::set<std::string>{"settings.ini"});
    std::set<std::string> names = {"real", "links"};
    for (const auto& [link, target] : c.links)
      if (link.find('/') == std::string::npos) names.insert(link);
    EXPECT_EQ(NamesIn(tree.Root()), names);
  }
}

// A write that was killed leaves its temporary file; the next write of the
// same file clears away those whose writer is gone, and nothing else.
TEST(SettingsFileFaults, TemporaryFilesOfKilledWritesAreRemoved) {
  const pid_t gone = fork();
  ASSERT_GE(gone, 0);
  if (gone == 0) _exit(0);
  ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
  ASSERT_TRUE(kill(gone, 0) != 0 && errno == ESRCH);
  const std::string dead = std::to_string(gone), alive = std::to_string(getpid());

  const std::set<std::string> stale = {
      "quillmark.ini.tmp." + dead + ".0",
      "quillmark.ini.tmp." + dead + ".17",
  };
  const std::set<std::string> kept = {
      "quillmark.ini",
      "quillmark.ini.tmp." + alive + ".0",          // this process may be writing
      "quillmark.ini.tmp.1.0",                        // init
      "quillmark.ini.tmp.0.0",                        // no process
      "quillmark.ini.tmp.99999999999999999999.0",     // no process either
      "quillmark.ini.tmp." + dead,                    // not the form
      "quillmark.ini.tmp." + dead + ".",
      "quillmark.ini.tmp." + dead + ".0.1",
      "quillmark.ini.tmp." + dead + ".0~",
      "quillmark.ini.tmp." + dead + ".x",
      "quillmark.ini.tmp.-" + dead + ".0",
      "quillmark.ini.tmp.+" + dead + ".0",
      "quillmark.ini.tmp.." + dead,
      "Quillmark.ini.tmp." + dead + ".0",             // another file's
      "quillmark.ini.TMP." + dead + ".0",
      "xquillmark.ini.tmp." + dead + ".0",
      "other.ini.tmp." + dead + ".0",
  };
  TempTree tree;
  for (const std::string& name : stale) tree.WriteFile(name, "partial");
  for (const std::string& name : kept) tree.WriteFile(name, name == "quillmark.ini" ? "[Quillmark]\nKey=old\n" : "x");
  tree.WriteFile("sub/quillmark.ini.tmp." + dead + ".0", "beside another file");

  ASSERT_TRUE(Put(tree.PathOf("quillmark.ini"), "Key", "new"));
  std::set<std::string> left = kept;
  left.insert("sub");
  EXPECT_EQ(NamesIn(tree.Root()), left);
  EXPECT_EQ(NamesIn(tree.PathOf("sub")), std::set<std::string>{"quillmark.ini.tmp." + dead + ".0"});
  EXPECT_EQ(Get(tree.PathOf("quillmark.ini"), "Key"), "new");
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
