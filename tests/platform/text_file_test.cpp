#include "platform/text_file.h"

#include "platform/open_folder.h"

#include <fcntl.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "tests/support/temp_tree.h"

namespace quillmark::platform {
namespace {

// The lines of `bytes`, read straight away and, to check that looking at
// the bytes first changes nothing, after reading them in pieces and
// rewinding.
std::vector<std::string> ReadLines(std::string_view bytes) {
  testing::TempTree tree;
  tree.WriteFile("f.c", bytes);
  std::vector<std::string> lines[2];
  for (bool loadFirst : {false, true}) {
    TextFile file;
    EXPECT_TRUE(file.Open(tree.PathOf("f.c")));
    if (loadFirst) {
      // The pieces are the file up to 0x1A, line ends untouched.
      std::string pieces;
      std::string_view chunk;
      while (file.ReadChunk(chunk)) pieces.append(chunk);
      EXPECT_EQ(pieces, bytes.substr(0, bytes.find('\x1A')));
      EXPECT_TRUE(file.Rewind());
    }
    std::string line;
    while (file.ReadLine(line)) lines[loadFirst].push_back(line);
    EXPECT_TRUE(file.ReadStatus()) << "the end of the file is no failed read";
  }
  EXPECT_EQ(lines[0], lines[1]) << "lines read after the pieces";
  return lines[0];
}

using Lines = std::vector<std::string>;

TEST(TextFile, ReadsLikeWindowsTextMode) {
  EXPECT_EQ(ReadLines(""), Lines{});
  EXPECT_EQ(ReadLines("a\nb\n"), (Lines{"a\n", "b\n"}));
  EXPECT_EQ(ReadLines("a\nlast"), (Lines{"a\n", "last"}));
  EXPECT_EQ(ReadLines("a\r\nb\r\n"), (Lines{"a\n", "b\n"}));
  EXPECT_EQ(ReadLines("lone\rcr\n"), (Lines{"lone\rcr\n"}));
  EXPECT_EQ(ReadLines("a\r\r\n"), (Lines{"a\r\n"}));
  EXPECT_EQ(ReadLines("end\r"), (Lines{"end\r"}));
  EXPECT_EQ(ReadLines("\n\n"), (Lines{"\n", "\n"}));
}

TEST(TextFile, StopsAtByte1A) {
  EXPECT_EQ(ReadLines("a\nb\x1A" "c\nd\n"), (Lines{"a\n", "b"}));
  EXPECT_EQ(ReadLines("\x1A" "a\n"), Lines{});
  EXPECT_EQ(ReadLines("a\r\x1A\n"), (Lines{"a\r"}));
}

TEST(TextFile, KeepsNulBytes) {
  EXPECT_EQ(ReadLines(std::string("a\0b\n", 4)), (Lines{std::string("a\0b\n", 4)}));
}

TEST(TextFile, ReadsLinesLongerThanItsBufferWhole) {
  std::string longLine(700 * 1024, 'x');
  // A CR LF split across two reads of the buffer still arrives as LF.
  longLine[256 * 1024 - 1] = '\r';
  longLine[256 * 1024] = '\n';
  const Lines lines = ReadLines(longLine + "\r\nshort\n");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].size(), 256u * 1024);
  EXPECT_EQ(lines[1].size(), longLine.size() - 256 * 1024);
  EXPECT_EQ(lines[2], "short\n");
}

TEST(TextFile, RefusesWhatIsNotARegularFileWithTheReason) {
  testing::TempTree tree;
  tree.MakeFolder("folder.c");
  tree.MakeFifo("fifo.c");
  tree.MakeLink("dangling.c", tree.PathOf("missing"));
  const struct {
    const char* name;
    int code;
  } cases[] = {
      {"folder.c", EISDIR},
      {"fifo.c", EINVAL},  // must not block
      {"dangling.c", ENOENT},
      {"missing.c", ENOENT},
  };
  const Result<OpenFolder> folder = OpenFolder::Open(tree.Root());
  ASSERT_TRUE(folder);
  TextFile file;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (const Status& opened : {file.Open(tree.PathOf(c.name)), file.OpenIn(*folder, c.name)}) {
      ASSERT_FALSE(opened);
      EXPECT_EQ(opened.error().code, c.code);
      EXPECT_FALSE(opened.error().reason.empty());
      EXPECT_FALSE(file.IsOpen());
    }
  }
  EXPECT_EQ(file.Adopt(Descriptor()).error().code, EBADF);
  EXPECT_EQ(file.Rewind().error().code, EBADF);  // nothing open to rewind
}

// A read that fails is no end of the file: the lines stop, and ReadStatus
// tells why, until the next file or a rewind.
TEST(TextFile, ReadThatFailsIsToldByReadStatus) {
  testing::TempTree tree;
  tree.MakeLink("mem.c", "/proc/self/mem");  // a regular file whose read at offset 0 fails
  tree.WriteFile("ok.c", "a\n");
  TextFile file;
  ASSERT_TRUE(file.Open(tree.PathOf("mem.c")));
  std::string line;
  EXPECT_FALSE(file.ReadLine(line));
  ASSERT_FALSE(file.ReadStatus());
  EXPECT_EQ(file.ReadStatus().error().code, EIO);
  std::string_view chunk;
  ASSERT_TRUE(file.Rewind());
  EXPECT_TRUE(file.ReadStatus()) << "a rewind reads again";
  EXPECT_FALSE(file.ReadChunk(chunk));
  EXPECT_EQ(file.ReadStatus().error().code, EIO);

  ASSERT_TRUE(file.Open(tree.PathOf("ok.c")));
  EXPECT_TRUE(file.ReadStatus()) << "a new file starts clean";
  EXPECT_TRUE(file.ReadLine(line));
  EXPECT_FALSE(file.ReadLine(line));
  EXPECT_TRUE(file.ReadStatus());
}

}  // namespace
}  // namespace quillmark::platform
