#include <gtest/gtest.h>

#include "engine/sjis_encoding.h"
#include "engine/source_finder.h"
#include "tests/support/memory_host.h"
#include "tests/support/shown_finding.h"
#include "tests/support/temp_tree.h"

namespace quillmark::engine {
namespace {

using testing::MemoryHost;
using testing::TempTree;
using Lines = std::vector<std::string>;

constexpr const char* kJapanese = "\"\x82\xA0\"\n";  // "あ"
constexpr const char* kAscii = "\"x\"\n";

struct WalkRun {
  MemoryHost host;
  bool completed = false;
};

// Walks `root` with the Shift_JIS engine and the default extensions.
void Walk(WalkRun& run, const std::string& root, std::vector<std::string> extensions = {"c", "cpp", "h", "hpp"}) {
  run.host.rootPath = root;
  SourceFinder finder(&ShiftJisRules());
  finder.SetHost(&run.host);
  finder.SetExtensions(std::move(extensions));
  run.completed = finder.Walk(root);
}

TEST(Walk, VisitsEntriesDepthFirstInByteOrder) {
  TempTree tree;
  tree.WriteFile("z.c", kAscii);
  tree.WriteFile("sub/z.hpp", "");
  tree.WriteFile("sub/deep/d.h", kJapanese);
  tree.WriteFile("noext", kJapanese);
  tree.WriteFile("name.", kJapanese);
  tree.WriteFile("a.CPP", kJapanese);
  tree.WriteFile("B.c", "\n\n\n\n\n\n\n\n\n" + std::string(kJapanese));
  tree.WriteFile(".hidden/a.c", kJapanese);
  tree.WriteFile(".c", kAscii);
  tree.MakeFifo("fifo.c");
  const std::string& r = tree.Root();

  WalkRun run;
  Walk(run, r);
  EXPECT_TRUE(run.completed);
  EXPECT_EQ(run.host.traceLines, (Lines{
                                     "=== directory:" + r,
                                     "-- analyze:" + r + "/.c",
                                     "checking string:x",
                                     "=== directory:" + r + "/.hidden",
                                     "-- analyze:" + r + "/.hidden/a.c",
                                     "checking string:\x82\xA0",
                                     ">> .hidden/a.c : 1",
                                     "-- analyze:" + r + "/B.c",
                                     "checking string:\x82\xA0",
                                     ">> B.c : 10",
                                     "=== directory:" + r + "/sub",
                                     "=== directory:" + r + "/sub/deep",
                                     "-- analyze:" + r + "/sub/deep/d.h",
                                     "checking string:\x82\xA0",
                                     ">> sub/deep/d.h : 1",
                                     "-- analyze:" + r + "/sub/z.hpp",
                                     "-- analyze:" + r + "/z.c",
                                     "checking string:x",
                                 }));
  ASSERT_EQ(run.host.findings.size(), 3u);
  EXPECT_EQ(run.host.findings[1].line, 10);
  EXPECT_EQ(run.host.findings[2].path, "sub/deep/d.h");
  // One flush and one pump per folder.
  EXPECT_EQ(run.host.flushCount, 4);
  EXPECT_EQ(run.host.pumpCount, 4);
}

TEST(Walk, RelativeRootStillGivesRealRelativePaths) {
  TempTree tree;
  tree.WriteFile("src/lib/a.c", kJapanese);
  testing::ScopedCurrentDirectory inTree(tree.Root());

  for (const std::string root : {".", "src/", "./src/../src"}) {
    WalkRun run;
    Walk(run, root);
    EXPECT_TRUE(run.completed);
    ASSERT_EQ(run.host.findings.size(), 1u) << root;
    EXPECT_EQ(run.host.findings[0].path, root == "." ? "src/lib/a.c" : "lib/a.c") << root;
    // The root as typed, every other folder absolute.
    EXPECT_EQ(run.host.traceLines.front(), "=== directory:" + root);
    EXPECT_EQ(run.host.traceLines[1], "=== directory:" + tree.Root() + (root == "." ? "/src" : "/src/lib"));
  }
}

TEST(Walk, RootThatCannotBeListedCompletesEmpty) {
  TempTree tree;
  tree.WriteFile("file.c", kJapanese);
  for (const std::string& root : {tree.PathOf("missing"), tree.PathOf("file.c")}) {
    WalkRun run;
    Walk(run, root);
    EXPECT_TRUE(run.completed);
    EXPECT_EQ(run.host.traceLines, Lines{"=== directory:" + root});
    EXPECT_EQ(run.host.flushCount, 1);
    EXPECT_EQ(run.host.pumpCount, 1);
  }
}

TEST(Walk, FileThatCannotBeOpenedEndsTheWholeWalk) {
  TempTree tree;
  tree.WriteFile("a/1.c", kJapanese);
  tree.MakeLink("a/x.c", tree.PathOf("nowhere"));  // dangling: counts as a file
  tree.WriteFile("a/y.c", kJapanese);
  tree.WriteFile("b.c", kJapanese);

  WalkRun run;
  Walk(run, tree.Root());
  EXPECT_FALSE(run.completed);
  EXPECT_EQ(run.host.traceLines.back(), "Error: failed to open the file.");
  EXPECT_EQ(run.host.traceLines[run.host.traceLines.size() - 2], "-- analyze:" + tree.PathOf("a/x.c"));
  EXPECT_EQ(run.host.findings.size(), 1u);  // a/1.c only
  EXPECT_EQ(run.host.pumpCount, 0);
}

TEST(Walk, SkipsFilesThatAreNotRegularAndNeverOpensThem) {
  TempTree tree;
  tree.MakeFifo("x.c");
  tree.MakeLink("link.c", tree.PathOf("x.c"));
  tree.WriteFile("y.c", kJapanese);
  WalkRun run;
  Walk(run, tree.Root());
  EXPECT_TRUE(run.completed);
  EXPECT_EQ(run.host.traceLines[1], "-- analyze:" + tree.PathOf("y.c"));
  EXPECT_EQ(run.host.findings.size(), 1u);
}

TEST(Walk, LinksBackToTheWalkAreSkippedOthersFollowed) {
  TempTree tree;
  tree.WriteFile("a/f.c", kJapanese);
  tree.MakeLink("a/self", ".");
  tree.MakeLink("a/up", "..");
  tree.MakeLink("a/b/cycle", "../..");  // through two folders
  tree.MakeLink("other", "a");          // a sibling, not an ancestor

  WalkRun run;
  Walk(run, tree.Root());
  EXPECT_TRUE(run.completed);
  Lines folders;
  for (const auto& line : run.host.traceLines)
    if (line.starts_with("=== directory:")) folders.push_back(line.substr(14 + tree.Root().size()));
  EXPECT_EQ(folders, (Lines{"", "/a", "/a/b", "/other", "/other/b"}));
  ASSERT_EQ(run.host.findings.size(), 2u);
  EXPECT_EQ(run.host.findings[1].path, "other/f.c");
}

TEST(Walk, StopRequestEndsTheWalkAtTheNextEntry) {
  TempTree tree;
  tree.WriteFile("a/1.c", kJapanese);
  tree.WriteFile("b/2.c", kJapanese);
  tree.WriteFile("c.c", kJapanese);

  WalkRun run;
  run.host.onPump = [](MemoryHost& host) { host.stopRequested = true; };
  Walk(run, tree.Root());
  EXPECT_FALSE(run.completed);
  ASSERT_EQ(run.host.findings.size(), 1u);
  EXPECT_EQ(run.host.findings[0].path, "a/1.c");
  EXPECT_EQ(run.host.pumpCount, 1);
}

TEST(Walk, StopInTheLastPumpIsNotSeen) {
  TempTree tree;
  tree.WriteFile("c.c", kJapanese);
  WalkRun run;
  run.host.onPump = [](MemoryHost& host) { host.stopRequested = true; };
  Walk(run, tree.Root());
  EXPECT_TRUE(run.completed);
}

TEST(Walk, QuitDuringAPumpEndsTheWalk) {
  TempTree tree;
  tree.WriteFile("a/1.c", kJapanese);
  tree.WriteFile("b/2.c", kJapanese);
  WalkRun run;
  run.host.quitOnPump = true;
  Walk(run, tree.Root());
  EXPECT_FALSE(run.completed);
  EXPECT_EQ(run.host.pumpCount, 1);
  EXPECT_EQ(run.host.findings.size(), 1u);
}

TEST(Walk, EmptyExtensionListTracesFoldersOnly) {
  TempTree tree;
  tree.WriteFile("a/1.c", kJapanese);
  tree.WriteFile("2.c", kJapanese);
  WalkRun run;
  Walk(run, tree.Root(), {});
  EXPECT_TRUE(run.completed);
  EXPECT_EQ(run.host.traceLines, (Lines{"=== directory:" + tree.Root(), "=== directory:" + tree.PathOf("a")}));
}

TEST(Walk, UnterminatedLiteralEndsOnlyItsFile) {
  TempTree tree;
  tree.WriteFile("1.c", "\"open\n\"\x82\xA0\"\n");
  tree.WriteFile("2.c", kJapanese);
  WalkRun run;
  Walk(run, tree.Root());
  EXPECT_TRUE(run.completed);
  ASSERT_EQ(run.host.findings.size(), 1u);
  EXPECT_EQ(run.host.findings[0].path, "2.c");
}

TEST(Walk, ExtensionsMatchByteForByte) {
  TempTree tree;
  tree.WriteFile("a.c", kJapanese);
  tree.WriteFile("b.C", kJapanese);
  tree.WriteFile("c.tar.c", kJapanese);
  tree.WriteFile("d.c.bak", kJapanese);
  tree.WriteFile("e. h", kJapanese);
  WalkRun run;
  Walk(run, tree.Root(), {"c", " h"});
  Lines paths;
  for (const auto& finding : run.host.findings) paths.push_back(finding.path);
  EXPECT_EQ(paths, (Lines{"a.c", "c.tar.c", "e. h"}));
}

}  // namespace
}  // namespace quillmark::engine

namespace quillmark::engine {
namespace {

TEST(Walk, HostThatWantsNoTraceGetsFindingsOnly) {
  class QuietHost : public testing::MemoryHost {
   public:
    using MemoryHost::MemoryHost;
    bool WantsTrace() const override { return false; }
  };
  TempTree tree;
  tree.WriteFile("sub/a.c", "x = \"\x82\xA0\"; \"open\n");
  QuietHost host(tree.Root());
  SourceFinder finder(&ShiftJisRules());
  finder.SetHost(&host);
  finder.SetExtensions({"c"});
  EXPECT_TRUE(finder.Walk(tree.Root()));
  EXPECT_TRUE(host.traceLines.empty());
  EXPECT_EQ(testing::Shown(host.findings),
            (std::vector<testing::ShownFinding>{{"\x82\xA0" + std::string(18, ' '), "1", "sub/a.c"}}));
  EXPECT_EQ(host.flushCount, 2);
}

// Columns are counted only for a host that reads them, at any thread count.
TEST(Walk, HostThatWantsNoColumnsGetsZeroes) {
  class NoColumnsHost : public testing::MemoryHost {
   public:
    using MemoryHost::MemoryHost;
    bool WantsColumns() const override { return wants; }
    bool wants = false;
  };
  TempTree tree;
  tree.WriteFile("a.c", "x = \"\x82\xA0\"; y = '\x82\xA2';\n");
  for (bool wants : {false, true}) {
    for (unsigned threads : {1u, 2u}) {
      NoColumnsHost host(tree.Root());
      host.wants = wants;
      SourceFinder finder(&ShiftJisRules());
      finder.SetHost(&host);
      finder.SetExtensions({"c"});
      finder.SetThreads(threads);
      EXPECT_TRUE(finder.Walk(tree.Root()));
      ASSERT_EQ(host.findings.size(), 2u);
      EXPECT_EQ(host.findings[0].column, wants ? 5 : 0);
      EXPECT_EQ(host.findings[1].column, wants ? 14 : 0);  // あ is one character
    }
  }
}

}  // namespace
}  // namespace quillmark::engine
