// What reading and writing a settings file allocates: the file's bytes and
// a little more, however many lines it has. A file of empty lines is the
// worst case for anything that keeps a record per line.
#include <gtest/gtest.h>

#include <new>
#include <string>
#include <utility>

#include "platform/private_profile.h"
#include "tests/support/allocation_hooks.h"
#include "tests/support/temp_tree.h"

namespace quillmark::platform {
namespace {

using testing::ReadWholeFile;
using testing::TempTree;

constexpr std::size_t kFileBytes = 4u << 20;
// Names, values, paths: what a lookup or a write needs besides the file.
constexpr std::size_t kSlackBytes = 64u << 10;

const std::pair<const char*, const char*> kKeys[] = {
    {"EditorPath", "/usr/bin/editor"}, {"EditorParam", "-n%L \"%F\""}, {"EditorType", "custom"},
    {"FileExt", "c;cpp;h;hpp"},        {"Encoding", "EUC"},             {"FinderRootPath", "/home/user/src"},
};

class PrivateProfileMemory : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tail = "[Quillmark]\n";
    for (const auto& [key, value] : kKeys) tail.append(key).append("=").append(value).append("\n");
    before_ = std::string(kFileBytes - tail.size(), '\n') + tail;
    tree_.WriteFile("quillmark.ini", before_);
  }

  template <typename Body>
  static std::size_t AllocatedBy(Body body) {
    const std::size_t start = testing::AllocatedBytes();
    body();
    return testing::AllocatedBytes() - start;
  }

  TempTree tree_;
  const std::string path_ = tree_.PathOf("quillmark.ini");
  std::string before_;
};

TEST_F(PrivateProfileMemory, AReaderHoldsTheFileOnceForAllItsKeys) {
  std::string values[std::size(kKeys)];
  const std::size_t allocated = AllocatedBy([&] {
    const PrivateProfileReader reader(path_);
    for (std::size_t i = 0; i < std::size(kKeys); ++i) values[i] = reader.GetString("Quillmark", kKeys[i].first, "?");
  });
  for (std::size_t i = 0; i < std::size(kKeys); ++i) EXPECT_EQ(values[i], kKeys[i].second) << kKeys[i].first;
  EXPECT_LE(allocated, kFileBytes + kSlackBytes);
}

TEST_F(PrivateProfileMemory, AReadOfOneKeyHoldsTheFileOnce) {
  std::string value;
  const std::size_t allocated = AllocatedBy([&] { value = GetPrivateProfileString(path_, "Quillmark", "Encoding", "?"); });
  EXPECT_EQ(value, "EUC");
  EXPECT_LE(allocated, kFileBytes + kSlackBytes);
}

TEST_F(PrivateProfileMemory, AWriteHoldsTheFileOnce) {
  bool replaced = false, added = false;
  const std::size_t replacing = AllocatedBy([&] { replaced = WritePrivateProfileString(path_, "Quillmark", "Encoding", "UTF8"); });
  const std::size_t adding = AllocatedBy([&] { added = WritePrivateProfileString(path_, "Other", "Key", "v"); });
  EXPECT_TRUE(replaced);
  EXPECT_TRUE(added);
  EXPECT_LE(replacing, kFileBytes + kSlackBytes);
  EXPECT_LE(adding, kFileBytes + kSlackBytes);
  EXPECT_EQ(GetPrivateProfileString(path_, "Quillmark", "Encoding", "?"), "UTF8");
  EXPECT_EQ(GetPrivateProfileString(path_, "Other", "Key", "?"), "v");
}

// The file's bytes cannot be had: the reader and a write say so rather
// than act on part of the file.
TEST_F(PrivateProfileMemory, AFileTooBigForMemoryThrowsAndIsLeftAlone) {
  {
    const testing::ScopedAllocationLimit limit(kFileBytes / 2);
    EXPECT_THROW(PrivateProfileReader{path_}, std::bad_alloc);
    EXPECT_THROW(WritePrivateProfileString(path_, "Quillmark", "Encoding", "UTF8"), std::bad_alloc);
  }
  EXPECT_TRUE(ReadWholeFile(path_) == before_);
}

}  // namespace
}  // namespace quillmark::platform
