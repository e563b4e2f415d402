#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "engine/sjis_encoding.h"
#include "engine/source_finder.h"
#include "platform/system_error.h"
#ifndef _WIN32
#include "tests/support/failing_reads.h"
#endif
#include "tests/support/memory_sink.h"
#include "tests/support/slashed.h"
#include "tests/support/shown_finding.h"
#include "tests/support/temp_tree.h"

namespace quillmark::engine {
namespace {

using testing::MemorySink;
using testing::TempTree;
using Lines = std::vector<std::string>;

constexpr const char* kJapanese = "\"\x82\xA0\"\n";  // "あ"
constexpr const char* kAscii = "\"x\"\n";

struct WalkRun {
  MemorySink sink;
  bool completed = false;
  WalkFailure failure;
};

// Walks `root` with the Shift_JIS engine and the default extensions.
void Walk(WalkRun& run, const std::string& root, std::vector<std::string> extensions = {"c", "cpp", "h", "hpp"}) {
  SearchOptions options = testing::OptionsFor(root);
  options.extensions = std::move(extensions);
  run.completed = testing::WalkInto(run.sink, std::move(options), &run.failure);
}

Lines PathsOf(const FindingList& findings) {
  Lines paths;
  for (const Finding& finding : findings) paths.push_back(testing::Slashed(finding.path));
  return paths;
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
  EXPECT_EQ(run.sink.traceLines, (Lines{
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
  ASSERT_EQ(run.sink.findings.size(), 3u);
  EXPECT_EQ(run.sink.findings[1].line, 10);
  EXPECT_EQ(run.sink.findings[2].path, "sub/deep/d.h");
  // One report per folder and per file opened; the FIFO gives none.
  EXPECT_EQ(run.sink.folders, 4);
  EXPECT_EQ(run.sink.reports, 10);
}

TEST(Walk, RelativeRootStillGivesRealRelativePaths) {
  TempTree tree;
  tree.WriteFile("src/lib/a.c", kJapanese);
  testing::ScopedCurrentDirectory inTree(tree.Root());

  for (const std::string root : {".", "src/", "./src/../src"}) {
    WalkRun run;
    Walk(run, root);
    EXPECT_TRUE(run.completed);
    ASSERT_EQ(run.sink.findings.size(), 1u) << root;
    EXPECT_EQ(run.sink.findings[0].path, root == "." ? "src/lib/a.c" : "lib/a.c") << root;
    // The root as typed, every other folder absolute.
    EXPECT_EQ(run.sink.traceLines.front(), "=== directory:" + root);
    EXPECT_EQ(run.sink.traceLines[1], "=== directory:" + tree.Root() + (root == "." ? "/src" : "/src/lib"));
  }
}

TEST(Walk, RootThatCannotBeListedCompletesEmpty) {
  TempTree tree;
  tree.WriteFile("file.c", kJapanese);
  for (const std::string& root : {tree.PathOf("missing"), tree.PathOf("file.c")}) {
    WalkRun run;
    Walk(run, root);
    EXPECT_TRUE(run.completed);
    EXPECT_EQ(run.sink.traceLines, Lines{"=== directory:" + root});
    EXPECT_EQ(run.sink.reports, 1);
    EXPECT_EQ(run.sink.folders, 0);
    // Named as the root itself: by an empty path.
    ASSERT_EQ(run.sink.diagnostics.size(), 1u);
    EXPECT_EQ(run.sink.diagnostics[0].kind, Diagnostic::Kind::CannotListFolder);
    EXPECT_EQ(run.sink.diagnostics[0].path, "");
    EXPECT_FALSE(run.sink.diagnostics[0].text.empty());
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
  EXPECT_EQ(run.sink.traceLines.back(), "Error: failed to open the file.");
  EXPECT_EQ(run.sink.traceLines[run.sink.traceLines.size() - 2], "-- analyze:" + tree.PathOf("a/x.c"));
  EXPECT_EQ(PathsOf(run.sink.findings), Lines{"a/1.c"});
  EXPECT_EQ(run.failure.kind, WalkFailure::Kind::CannotOpenFile);
  EXPECT_EQ(run.failure.path, tree.PathOf("a/x.c"));
  ASSERT_EQ(run.sink.diagnostics.size(), 1u);
  EXPECT_EQ(run.sink.diagnostics[0].kind, Diagnostic::Kind::CannotOpenFile);
  EXPECT_EQ(run.sink.diagnostics[0].path, "a/x.c");
  // The root, a, a/1.c and a/x.c: nothing after the file that ends the walk.
  EXPECT_EQ(run.sink.reports, 4);
}

TEST(Walk, SkipsFilesThatAreNotRegularAndNeverOpensThem) {
  TempTree tree;
  tree.MakeFifo("x.c");
  tree.MakeLink("link.c", tree.PathOf("x.c"));
  tree.WriteFile("y.c", kJapanese);
  WalkRun run;
  Walk(run, tree.Root());
  EXPECT_TRUE(run.completed);
  EXPECT_EQ(run.sink.traceLines[1], "-- analyze:" + tree.PathOf("y.c"));
  EXPECT_EQ(run.sink.findings.size(), 1u);
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
  for (const auto& line : run.sink.traceLines)
    if (line.starts_with("=== directory:")) folders.push_back(line.substr(14 + tree.Root().size()));
  EXPECT_EQ(folders, (Lines{"", "/a", "/a/b", "/other", "/other/b"}));
  ASSERT_EQ(run.sink.findings.size(), 2u);
  EXPECT_EQ(run.sink.findings[1].path, "other/f.c");
}

// A stop asked for while the sink takes a report is seen before the next
// one: at one thread the walker lists nothing further, and a stop during
// the last report still ends the walk as stopped.
TEST(Walk, StopEndsTheWalkBeforeTheNextReport) {
  TempTree tree;
  tree.WriteFile("a/1.c", kJapanese);
  tree.WriteFile("b/2.c", kJapanese);
  tree.WriteFile("c.c", kJapanese);
  // Reports: the root, a, a/1.c, b, b/2.c, c.c.
  const struct {
    const char* name;
    int stopAt;  // the report during which the stop comes; 0: before the walk
    Lines findings;
    Lines folderLines;
  } cases[] = {
      {"before the walk", 0, {}, {}},
      {"at the root's report", 1, {}, {""}},
      {"at a folder's report", 2, {}, {"", "/a"}},
      {"at a file's report", 3, {"a/1.c"}, {"", "/a"}},
      {"at the last report", 6, {"a/1.c", "b/2.c", "c.c"}, {"", "/a", "/b"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WalkRun run;
    if (c.stopAt == 0) run.sink.stop.request_stop();
    run.sink.onReport = [&](MemorySink& sink) {
      if (sink.reports == c.stopAt) sink.stop.request_stop();
    };
    Walk(run, tree.Root());
    EXPECT_FALSE(run.completed);
    EXPECT_EQ(run.failure.kind, WalkFailure::Kind::Stopped);
    EXPECT_EQ(run.sink.reports, c.stopAt);
    EXPECT_EQ(PathsOf(run.sink.findings), c.findings);
    Lines folderLines;
    for (const auto& line : run.sink.traceLines)
      if (line.starts_with("=== directory:")) folderLines.push_back(testing::Slashed(line.substr(14 + tree.Root().size())));
    EXPECT_EQ(folderLines, c.folderLines);
  }
}

TEST(Walk, EmptyExtensionListTracesFoldersOnly) {
  TempTree tree;
  tree.WriteFile("a/1.c", kJapanese);
  tree.WriteFile("2.c", kJapanese);
  WalkRun run;
  Walk(run, tree.Root(), {});
  EXPECT_TRUE(run.completed);
  EXPECT_EQ(run.sink.traceLines, (Lines{"=== directory:" + tree.Root(), "=== directory:" + tree.PathOf("a")}));
  EXPECT_EQ(run.sink.reports, 2);
}

TEST(Walk, UnterminatedLiteralEndsOnlyItsFile) {
  TempTree tree;
  tree.WriteFile("1.c", "\"open\n\"\x82\xA0\"\n");
  tree.WriteFile("2.c", kJapanese);
  WalkRun run;
  Walk(run, tree.Root());
  EXPECT_TRUE(run.completed);
  EXPECT_EQ(PathsOf(run.sink.findings), Lines{"2.c"});
  ASSERT_EQ(run.sink.diagnostics.size(), 1u);
  EXPECT_EQ(run.sink.diagnostics[0].kind, Diagnostic::Kind::LiteralNotClosed);
  EXPECT_EQ(run.sink.diagnostics[0].path, "1.c");
  EXPECT_EQ(run.sink.diagnostics[0].line, 1);
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
  EXPECT_EQ(PathsOf(run.sink.findings), (Lines{"a.c", "c.tar.c", "e. h"}));
}

TEST(Walk, NoTraceWantedGivesFindingsOnly) {
  TempTree tree;
  tree.WriteFile("sub/a.c", "x = \"\x82\xA0\"; \"open\n");
  WalkRun run;
  SearchOptions options = testing::OptionsFor(tree.Root());
  options.extensions = {"c"};
  options.trace = false;
  EXPECT_TRUE(testing::WalkInto(run.sink, std::move(options)));
  EXPECT_TRUE(run.sink.traceLines.empty());
  EXPECT_EQ(testing::Shown(run.sink.findings),
            (std::vector<testing::ShownFinding>{{"\x82\xA0" + std::string(18, ' '), "1", "sub/a.c"}}));
  // The reports still come, one per folder and file, and the literal left
  // open is still told.
  EXPECT_EQ(run.sink.reports, 3);
  EXPECT_EQ(run.sink.folders, 2);
  ASSERT_EQ(run.sink.diagnostics.size(), 1u);
  EXPECT_EQ(run.sink.diagnostics[0].kind, Diagnostic::Kind::LiteralNotClosed);
}

// Columns are counted only when they are wanted, at any thread count.
TEST(Walk, NoColumnsWantedGivesZeroes) {
  TempTree tree;
  tree.WriteFile("a.c", "x = \"\x82\xA0\"; y = '\x82\xA2';\n");
  for (bool wants : {false, true}) {
    for (unsigned threads : {1u, 2u}) {
      SCOPED_TRACE(std::to_string(wants) + " at " + std::to_string(threads));
      MemorySink sink;
      SearchOptions options = testing::OptionsFor(tree.Root());
      options.extensions = {"c"};
      options.columns = wants;
      options.threads = threads;
      EXPECT_TRUE(testing::WalkInto(sink, std::move(options)));
      ASSERT_EQ(sink.findings.size(), 2u);
      EXPECT_EQ(sink.findings[0].column, wants ? 5 : 0);
      EXPECT_EQ(sink.findings[1].column, wants ? 14 : 0);  // あ is one character
    }
  }
}

#ifndef _WIN32  // reads made to fail through read(2), and /proc
// A read that fails part way ends the walk like a file that cannot be
// opened: after what was read before it, and before any file after it.
TEST(Walk, ReadThatFailsEndsTheWalkAfterWhatWasReadBeforeIt) {
  const struct {
    const char* name;
    const EncodingRules* rules;  // null: detected per file
    bool firstRead;  // the very first read fails; else the one past 64 KiB
    Lines xTrace;    // x.c's lines after "-- analyze:"
    Lines findings;
  } cases[] = {
      {"first read", &ShiftJisRules(), true, {}, {"a.c"}},
      {"first read, encoding detected", nullptr, true, {}, {"a.c"}},
      {"read past the first buffer", &ShiftJisRules(), false, {"checking string:\x82\xA0", ">> x.c : 1"},
       {"a.c", "x.c"}},
      // Detection reads the whole file before any line is scanned.
      {"read past the first buffer, encoding detected", nullptr, false, {}, {"a.c"}},
  };
  const std::string reason = platform::SystemError::FromCode(EIO).reason;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempTree tree;
    tree.WriteFile("a.c", kJapanese);
    if (c.firstRead) tree.MakeLink("x.c", "/proc/self/mem");  // a read at offset 0 fails with EIO
    else tree.WriteFile("x.c", kJapanese + std::string(100 * 1024, '\n'));
    tree.WriteFile("y.c", kJapanese);
    tree.WriteFile("z/1.c", kJapanese);
    const testing::ScopedFailingReads failing(c.firstRead ? "" : "/x.c", 64 * 1024);

    WalkRun run;
    EXPECT_FALSE(testing::WalkInto(run.sink, testing::OptionsFor(tree.Root(), c.rules), &run.failure));
    Lines expected = {"-- analyze:" + tree.PathOf("x.c")};
    expected.insert(expected.end(), c.xTrace.begin(), c.xTrace.end());
    expected.push_back("Error: failed to read the file. (" + reason + ")");
    const Lines& trace = run.sink.traceLines;
    ASSERT_GE(trace.size(), expected.size());
    EXPECT_EQ(Lines(trace.end() - static_cast<std::ptrdiff_t>(expected.size()), trace.end()), expected);
    EXPECT_EQ(PathsOf(run.sink.findings), c.findings);
    ASSERT_EQ(run.sink.diagnostics.size(), 1u);
    EXPECT_EQ(run.sink.diagnostics[0].kind, Diagnostic::Kind::CannotReadFile);
    EXPECT_EQ(run.sink.diagnostics[0].path, "x.c");
    EXPECT_EQ(run.sink.diagnostics[0].text, reason);
    EXPECT_EQ(run.failure.kind, WalkFailure::Kind::CannotReadFile);
    EXPECT_EQ(run.failure.path, tree.PathOf("x.c"));
    EXPECT_EQ(run.failure.reason, reason);
    // The root, a.c and x.c; y.c and z are never reached.
    EXPECT_EQ(run.sink.reports, 3);
  }
}
#endif

}  // namespace
}  // namespace quillmark::engine
