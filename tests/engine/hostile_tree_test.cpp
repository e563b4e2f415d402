// The walk over trees built to break it: deep, wide, odd names, odd files,
// and trees that change under it. Each walk must end with the outcome the
// walker's rules give.
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/euc_encoding.h"
#include "engine/sjis_encoding.h"
#include "engine/source_finder.h"
#include "tests/support/deep_tree.h"
#include "tests/support/memory_sink.h"
#include "tests/support/memory_temp_folder.h"
#include "tests/support/shown_finding.h"
#include "tests/support/temp_tree.h"

namespace quillmark::engine {
namespace {

namespace fs = std::filesystem;
using testing::MakeNestedFolders;
using testing::MemorySink;
using testing::TempTree;
using Lines = std::vector<std::string>;
using namespace std::string_literals;

constexpr const char* kJapanese = "\"\x82\xA0\"\n";  // "あ"

// Calls `react` with each finding as its report reaches the sink: at one
// thread the walk takes its next entry only after that.
void OnEachFinding(MemorySink& sink, std::function<void(const Finding&)> react) {
  sink.onReport = [react = std::move(react), seen = std::size_t{0}](MemorySink& s) mutable {
    for (; seen < s.findings.size(); ++seen) react(s.findings[seen]);
  };
}

bool WalkTree(MemorySink& sink, const std::string& root, std::vector<std::string> extensions = {"c", "h"},
              const EncodingRules& rules = ShiftJisRules(), WalkFailure* failure = nullptr) {
  SearchOptions options = testing::OptionsFor(root, &rules);
  options.extensions = std::move(extensions);
  return testing::WalkInto(sink, std::move(options), failure);
}

Lines LinesStartingWith(const Lines& lines, std::string_view prefix) {
  Lines found;
  for (const auto& line : lines)
    if (line.starts_with(prefix)) found.push_back(line.substr(prefix.size()));
  return found;
}

Lines PathsOf(const FindingList& findings) {
  Lines paths;
  for (const auto& finding : findings) paths.push_back(finding.path);
  return paths;
}

int OpenDescriptorCount() {
  int count = 0;
  for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
    (void)entry;
    ++count;
  }
  return count;
}

std::string Repeated(const std::string& component, int count) {
  std::string path;
  for (int i = 0; i < count; ++i) path += (i ? "/" : "") + component;
  return path;
}

// ---- Depth -----------------------------------------------------------------

TEST(HostileTreeBig, AThousandNestedFoldersAreWalkedWithBoundedDescriptorsAndStack) {
  constexpr int kDepth = 1000;
  const testing::ScopedMemoryTempFolder inMemory;
  TempTree tree;
  MakeNestedFolders(tree.Root(), kDepth, "d", "a.c", kJapanese);

  MemorySink sink;
  const int descriptorsBefore = OpenDescriptorCount();
  int mostDescriptors = 0;
  std::uintptr_t deepestFrame = UINTPTR_MAX;
  const auto outerFrame = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
  sink.onReport = [&](MemorySink&) {
    // The stack grows down: the lowest frame is the deepest the walk went.
    deepestFrame = std::min(deepestFrame, reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0)));
    mostDescriptors = std::max(mostDescriptors, OpenDescriptorCount());
  };
  EXPECT_TRUE(WalkTree(sink, tree.Root()));

  EXPECT_EQ(LinesStartingWith(sink.traceLines, "=== directory:").size(), kDepth + 1u);
  EXPECT_EQ(PathsOf(sink.findings), Lines{Repeated("d", kDepth) + "/a.c"});
  EXPECT_EQ(sink.folders, kDepth + 1);
  EXPECT_EQ(sink.reports, kDepth + 2);
  // Each level reads its whole listing; only the folder being listed stays
  // open, whatever the depth.
  EXPECT_LE(mostDescriptors, descriptorsBefore + 1);
  // The recursion's frames, the sanitizer's larger ones included, must stay
  // far inside the usual 8 MB stack.
  const std::uintptr_t stackUsed = outerFrame - deepestFrame;
  EXPECT_LT(stackUsed, 4u << 20) << "stack per level: " << stackUsed / kDepth;
  RecordProperty("StackBytesPerLevel", std::to_string(stackUsed / kDepth));
  testing::RemoveDeepTree(tree.Root(), "d");
}

// Paths longer than the system's limit for one path still lead to their
// files: nothing below them is lost.
TEST(HostileTreeBig, FoldersBeyondTheLongestPathAreWalked) {
  constexpr int kDepth = 500;  // 500 x 11 bytes: more than 4096
  const std::string name(10, 'n');
  const testing::ScopedMemoryTempFolder inMemory;
  TempTree tree;
  MakeNestedFolders(tree.Root(), kDepth, name, "a.c", kJapanese);

  MemorySink sink;
  EXPECT_TRUE(WalkTree(sink, tree.Root()));
  EXPECT_EQ(LinesStartingWith(sink.traceLines, "=== directory:").size(), kDepth + 1u);
  EXPECT_EQ(PathsOf(sink.findings), Lines{Repeated(name, kDepth) + "/a.c"});
  EXPECT_EQ(sink.traceLines.back(), ">> " + Repeated(name, kDepth) + "/a.c : 1");

  testing::RemoveDeepTree(tree.Root(), name);
}

// ---- Contents --------------------------------------------------------------

TEST(HostileTree, RandomBinaryDataWithAListedExtensionEndsOnlyItsFile) {
  std::mt19937 random(20261207);
  std::string noise(256 * 1024, '\0');
  for (char& byte : noise) {
    byte = static_cast<char>(random() & 0xFF);
    if (byte == '\x1A') byte = '\x1B';  // read to the end, not stopped early
  }
  TempTree tree;
  tree.WriteFile("a.c", noise);
  tree.WriteFile("b.c", noise.substr(0, 4095) + "\x81");  // a lead byte as the very last byte
  tree.WriteFile("z.c", kJapanese);

  MemorySink sjis;
  EXPECT_TRUE(WalkTree(sjis, tree.Root()));
  ASSERT_FALSE(sjis.findings.empty());
  EXPECT_EQ(sjis.findings.back().path, "z.c");
  EXPECT_EQ(sjis.traceLines.back(), ">> z.c : 1");

  MemorySink euc;
  EXPECT_TRUE(WalkTree(euc, tree.Root(), {"c", "h"}, EucJpRules()));
  EXPECT_EQ(LinesStartingWith(euc.traceLines, "-- analyze:"),
            (Lines{tree.PathOf("a.c"), tree.PathOf("b.c"), tree.PathOf("z.c")}));
}

TEST(HostileTree, NulEndsALineAnd1AEndsAFileThenTheWalkGoesOn) {
  TempTree tree;
  tree.WriteFile("a.c", "x = \"\x82\xA0\"; \0 \"\x82\xA2\";\n\"\x82\xA4\"\n\x1A\"\x82\xA6\"\n"s);
  tree.WriteFile("b.c", "\"\x82\xA0\0\"\n\"\x82\xA2\"\n"s);  // NUL inside a literal
  tree.WriteFile("c.c", "\x1A");
  tree.WriteFile("d.c", kJapanese);

  MemorySink sink;
  EXPECT_TRUE(WalkTree(sink, tree.Root()));
  EXPECT_EQ(testing::Shown(sink.findings), (std::vector<testing::ShownFinding>{
                                               {"\x82\xA0" + std::string(18, ' '), "1", "a.c"},
                                               {"\x82\xA4" + std::string(18, ' '), "2", "a.c"},
                                               {"\x82\xA0" + std::string(18, ' '), "1", "d.c"},
                                           }));
  // The literal cut by the NUL is left open, which ends its file.
  EXPECT_NE(std::find(sink.traceLines.begin(), sink.traceLines.end(),
                      "Error: missing string terminator : \"\x82\xA0"),
            sink.traceLines.end());
}

// ---- Names -----------------------------------------------------------------

TEST(HostileTree, NamesAreTakenAsBytesInByteOrder) {
  const Lines names = {
      "Z.c", "a b.c", "q\"u'o`te.c", "%L%F.c", "$(x);y.c", "\x82\xA0.c", "\xFF\xFE.c", "-n.c", "\\.c",
  };
  TempTree tree;
  for (const auto& name : names) tree.WriteFile(name, kJapanese);
  tree.WriteFile("\xE9\x80 folder/%F.h", kJapanese);  // a cut UTF-8 sequence

  MemorySink sink;
  EXPECT_TRUE(WalkTree(sink, tree.Root()));
  EXPECT_EQ(PathsOf(sink.findings), (Lines{
                                        "$(x);y.c",
                                        "%L%F.c",
                                        "-n.c",
                                        "Z.c",
                                        "\\.c",
                                        "a b.c",
                                        "q\"u'o`te.c",
                                        "\x82\xA0.c",
                                        "\xE9\x80 folder/%F.h",
                                        "\xFF\xFE.c",
                                    }));
  EXPECT_EQ(sink.traceLines[1], "-- analyze:" + tree.PathOf("$(x);y.c"));
}

// ---- Kinds of entry --------------------------------------------------------

TEST(HostileTree, SocketsAndDanglingLinksWithoutAListedExtensionArePassedOver) {
  TempTree tree;
  const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(sock, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string socketPath = tree.PathOf("s.c");
  ASSERT_LT(socketPath.size(), sizeof address.sun_path);
  std::strcpy(address.sun_path, socketPath.c_str());
  ASSERT_EQ(bind(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  tree.MakeLink("dangling", tree.PathOf("nowhere"));
  tree.MakeLink("dangling.txt", tree.PathOf("nowhere"));
  tree.WriteFile("z.c", kJapanese);

  MemorySink sink;
  EXPECT_TRUE(WalkTree(sink, tree.Root()));
  ::close(sock);
  EXPECT_EQ(sink.traceLines, (Lines{"=== directory:" + tree.Root(), "-- analyze:" + tree.PathOf("z.c"),
                                    "checking string:\x82\xA0", ">> z.c : 1"}));
}

TEST(HostileTree, TwoFoldersLinkedToEachOtherAreEachWalkedOnce) {
  TempTree tree;
  tree.WriteFile("a/f.c", kJapanese);
  tree.WriteFile("b/g.c", kJapanese);
  tree.MakeLink("a/to-b", "../b");
  tree.MakeLink("b/to-a", "../a");

  MemorySink sink;
  EXPECT_TRUE(WalkTree(sink, tree.Root()));
  EXPECT_EQ(PathsOf(sink.findings), (Lines{"a/f.c", "a/to-b/g.c", "b/g.c", "b/to-a/f.c"}));
}

// ---- Trees that change during the walk -------------------------------------

TEST(HostileTree, AFolderRemovedBeforeItsTurnGivesOnlyItsFolderLine) {
  TempTree tree;
  tree.WriteFile("a/1.c", kJapanese);
  tree.WriteFile("b/2.c", kJapanese);
  tree.WriteFile("c/3.c", kJapanese);

  MemorySink sink;
  // The root's listing already names b when a/1.c is reported.
  OnEachFinding(sink, [&](const Finding& finding) {
    if (finding.path == "a/1.c") fs::remove_all(tree.PathOf("b"));
  });
  EXPECT_TRUE(WalkTree(sink, tree.Root()));
  EXPECT_EQ(LinesStartingWith(sink.traceLines, "=== directory:"),
            (Lines{tree.Root(), tree.PathOf("a"), tree.PathOf("b"), tree.PathOf("c")}));
  EXPECT_EQ(PathsOf(sink.findings), (Lines{"a/1.c", "c/3.c"}));
  ASSERT_EQ(sink.diagnostics.size(), 1u);
  EXPECT_EQ(sink.diagnostics[0].kind, Diagnostic::Kind::CannotListFolder);
  EXPECT_EQ(sink.diagnostics[0].path, "b");
}

TEST(HostileTree, AFolderRemovedWhileTheWalkIsInIt) {
  TempTree tree;
  tree.WriteFile("x/1.c", kJapanese);
  tree.WriteFile("x/sub/2.c", kJapanese);
  tree.WriteFile("y.c", kJapanese);

  // Only folders left to visit in it: each gives its folder line, and the
  // walk goes on.
  MemorySink sink;
  OnEachFinding(sink, [&](const Finding& finding) {
    if (finding.path == "x/1.c") fs::remove_all(tree.PathOf("x"));
  });
  EXPECT_TRUE(WalkTree(sink, tree.Root()));
  EXPECT_EQ(LinesStartingWith(sink.traceLines, "=== directory:"),
            (Lines{tree.Root(), tree.PathOf("x"), tree.PathOf("x/sub")}));
  EXPECT_EQ(PathsOf(sink.findings), (Lines{"x/1.c", "y.c"}));
}

TEST(HostileTree, AFileRemovedBeforeItsTurnEndsTheWalk) {
  TempTree tree;
  tree.WriteFile("x/1.c", kJapanese);
  tree.WriteFile("x/2.c", kJapanese);
  tree.WriteFile("y.c", kJapanese);

  MemorySink sink;
  OnEachFinding(sink, [&](const Finding&) { fs::remove(tree.PathOf("x/2.c")); });
  WalkFailure failure;
  EXPECT_FALSE(WalkTree(sink, tree.Root(), {"c", "h"}, ShiftJisRules(), &failure));
  EXPECT_EQ(sink.traceLines.back(), "Error: failed to open the file.");
  EXPECT_EQ(sink.traceLines[sink.traceLines.size() - 2], "-- analyze:" + tree.PathOf("x/2.c"));
  EXPECT_EQ(PathsOf(sink.findings), Lines{"x/1.c"});
  EXPECT_EQ(failure.kind, WalkFailure::Kind::CannotOpenFile);
  EXPECT_EQ(failure.path, tree.PathOf("x/2.c"));
  // The root, x, x/1.c and x/2.c: y.c is never reached.
  EXPECT_EQ(sink.reports, 4);
}

}  // namespace
}  // namespace quillmark::engine
