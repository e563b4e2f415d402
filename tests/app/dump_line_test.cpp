#include "app/dump_line.h"

#include <gtest/gtest.h>

namespace quillmark::app {
namespace {

TEST(DumpLine, PadsPathAndLineTo30BytesThenQuotesTheText) {
  EXPECT_EQ(FormatDumpLine("src/a.cpp", "7", "abc" + std::string(17, ' ')),
            "src/a.cpp :    7" + std::string(14, ' ') + " \"abc" + std::string(17, ' ') + "\"");
}

TEST(DumpLine, LongPathsAndNumbersAreNotCut) {
  EXPECT_EQ(FormatDumpLine("a/very/long/path/to/some/file.cpp", "123456", "x"),
            "a/very/long/path/to/some/file.cpp : 123456 \"x\"");
  EXPECT_EQ(FormatDumpLine("日本.c", "1", "x"), "日本.c :    1" + std::string(15, ' ') + " \"x\"")
      << "padding counts bytes";
}

TEST(DumpLine, ALineThatIsNoNumberCountsAsZero) {
  EXPECT_EQ(FormatDumpLine("a.c", "", "x"), "a.c :    0" + std::string(20, ' ') + " \"x\"");
  EXPECT_EQ(FormatDumpLine("a.c", "12abc", "x"), "a.c :   12" + std::string(20, ' ') + " \"x\"");
}

}  // namespace
}  // namespace quillmark::app
