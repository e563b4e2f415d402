#include "platform/text_file.h"

#include <gtest/gtest.h>

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

TEST(TextFile, RefusesWhatIsNotARegularFile) {
  testing::TempTree tree;
  tree.MakeFolder("folder.c");
  tree.MakeFifo("fifo.c");
  tree.MakeLink("dangling.c", tree.PathOf("missing"));
  TextFile file;
  EXPECT_FALSE(file.Open(tree.PathOf("folder.c")));
  EXPECT_FALSE(file.Open(tree.PathOf("fifo.c")));  // must not block
  EXPECT_FALSE(file.Open(tree.PathOf("dangling.c")));
  EXPECT_FALSE(file.Open(tree.PathOf("missing.c")));
}

}  // namespace
}  // namespace quillmark::platform
