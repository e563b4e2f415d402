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
#include "tests/support/memory_host.h"
#include "tests/support/memory_temp_folder.h"
#include "tests/support/shown_finding.h"
#include "tests/support/temp_tree.h"

namespace quillmark::engine {
namespace {

namespace fs = std::filesystem;
using testing::MakeNestedFolders;
using testing::MemoryHost;
using testing::TempTree;
using Lines = std::vector<std::string>;
using namespace std::string_literals;

constexpr const char* kJapanese = "\"\x82\xA0\"\n";  // "あ"

// A host that lets a test change the tree when a finding arrives.
class ReactingHost : public MemoryHost {
 public:
  using MemoryHost::MemoryHost;
  void AddFinding(const Finding& finding) override {
    MemoryHost::AddFinding(finding);
    if (onFinding) onFinding(finding);
  }
  std::function<void(const Finding&)> onFinding;
};

bool WalkTree(MemoryHost& host, const std::string& root, std::vector<std::string> extensions = {"c", "h"},
              const EncodingRules& rules = ShiftJisRules()) {
  host.rootPath = root;
  SourceFinder finder(&rules);
  finder.SetHost(&host);
  finder.SetExtensions(std::move(extensions));
  return finder.Walk(root);
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

  MemoryHost host;
  const int descriptorsBefore = OpenDescriptorCount();
  int mostDescriptors = 0;
  std::uintptr_t deepestFrame = 0;
  const auto outerFrame = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
  host.onPump = [&](MemoryHost&) {
    // The first pump comes at the end of the deepest folder.
    if (deepestFrame == 0) deepestFrame = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    mostDescriptors = std::max(mostDescriptors, OpenDescriptorCount());
  };
  EXPECT_TRUE(WalkTree(host, tree.Root()));

  EXPECT_EQ(LinesStartingWith(host.traceLines, "=== directory:").size(), kDepth + 1u);
  EXPECT_EQ(PathsOf(host.findings), Lines{Repeated("d", kDepth) + "/a.c"});
  EXPECT_EQ(host.pumpCount, kDepth + 1);
  // Each level reads its whole listing and closes it before going down.
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

  MemoryHost host;
  EXPECT_TRUE(WalkTree(host, tree.Root()));
  EXPECT_EQ(LinesStartingWith(host.traceLines, "=== directory:").size(), kDepth + 1u);
  EXPECT_EQ(PathsOf(host.findings), Lines{Repeated(name, kDepth) + "/a.c"});
  EXPECT_EQ(host.traceLines.back(), ">> " + Repeated(name, kDepth) + "/a.c : 1");

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

  MemoryHost sjis;
  EXPECT_TRUE(WalkTree(sjis, tree.Root()));
  ASSERT_FALSE(sjis.findings.empty());
  EXPECT_EQ(sjis.findings.back().path, "z.c");
  EXPECT_EQ(sjis.traceLines.back(), ">> z.c : 1");

  MemoryHost euc;
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

  MemoryHost host;
  EXPECT_TRUE(WalkTree(host, tree.Root()));
  EXPECT_EQ(testing::Shown(host.findings), (std::vector<testing::ShownFinding>{
                                               {"\x82\xA0" + std::string(18, ' '), "1", "a.c"},
                                               {"\x82\xA4" + std::string(18, ' '), "2", "a.c"},
                                               {"\x82\xA0" + std::string(18, ' '), "1", "d.c"},
                                           }));
  // The literal cut by the NUL is left open, which ends its file.
  EXPECT_NE(std::find(host.traceLines.begin(), host.traceLines.end(),
                      "Error: missing string terminator : \"\x82\xA0"),
            host.traceLines.end());
}

// ---- Names -----------------------------------------------------------------

TEST(HostileTree, NamesAreTakenAsBytesInByteOrder) {
  const Lines names = {
      "Z.c", "a b.c", "q\"u'o`te.c", "%L%F.c", "$(x);y.c", "\x82\xA0.c", "\xFF\xFE.c", "-n.c", "\\.c",
  };
  TempTree tree;
  for (const auto& name : names) tree.WriteFile(name, kJapanese);
  tree.WriteFile("\xE9\x80 folder/%F.h", kJapanese);  // a cut UTF-8 sequence

  MemoryHost host;
  EXPECT_TRUE(WalkTree(host, tree.Root()));
  EXPECT_EQ(PathsOf(host.findings), (Lines{
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
  EXPECT_EQ(host.traceLines[1], "-- analyze:" + tree.PathOf("$(x);y.c"));
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

  MemoryHost host;
  EXPECT_TRUE(WalkTree(host, tree.Root()));
  ::close(sock);
  EXPECT_EQ(host.traceLines, (Lines{"=== directory:" + tree.Root(), "-- analyze:" + tree.PathOf("z.c"),
                                    "checking string:\x82\xA0", ">> z.c : 1"}));
}

TEST(HostileTree, TwoFoldersLinkedToEachOtherAreEachWalkedOnce) {
  TempTree tree;
  tree.WriteFile("a/f.c", kJapanese);
  tree.WriteFile("b/g.c", kJapanese);
  tree.MakeLink("a/to-b", "../b");
  tree.MakeLink("b/to-a", "../a");

  MemoryHost host;
  EXPECT_TRUE(WalkTree(host, tree.Root()));
  EXPECT_EQ(PathsOf(host.findings), (Lines{"a/f.c", "a/to-b/g.c", "b/g.c", "b/to-a/f.c"}));
}

// ---- Trees that change during the walk -------------------------------------

TEST(HostileTree, AFolderRemovedBeforeItsTurnGivesOnlyItsFolderLine) {
  TempTree tree;
  tree.WriteFile("a/1.c", kJapanese);
  tree.WriteFile("b/2.c", kJapanese);
  tree.WriteFile("c/3.c", kJapanese);

  MemoryHost host;
  host.onPump = [&](MemoryHost&) { fs::remove_all(tree.PathOf("b")); };  // first pump: the end of a
  EXPECT_TRUE(WalkTree(host, tree.Root()));
  EXPECT_EQ(LinesStartingWith(host.traceLines, "=== directory:"),
            (Lines{tree.Root(), tree.PathOf("a"), tree.PathOf("b"), tree.PathOf("c")}));
  EXPECT_EQ(PathsOf(host.findings), (Lines{"a/1.c", "c/3.c"}));
}

TEST(HostileTree, AFolderRemovedWhileTheWalkIsInIt) {
  TempTree tree;
  tree.WriteFile("x/1.c", kJapanese);
  tree.WriteFile("x/sub/2.c", kJapanese);
  tree.WriteFile("y.c", kJapanese);

  // Only folders left to visit in it: each gives its folder line, and the
  // walk goes on.
  ReactingHost host;
  host.onFinding = [&](const Finding& finding) {
    if (finding.path == "x/1.c") fs::remove_all(tree.PathOf("x"));
  };
  EXPECT_TRUE(WalkTree(host, tree.Root()));
  EXPECT_EQ(LinesStartingWith(host.traceLines, "=== directory:"),
            (Lines{tree.Root(), tree.PathOf("x"), tree.PathOf("x/sub")}));
  EXPECT_EQ(PathsOf(host.findings), (Lines{"x/1.c", "y.c"}));
}

TEST(HostileTree, AFileRemovedBeforeItsTurnEndsTheWalk) {
  TempTree tree;
  tree.WriteFile("x/1.c", kJapanese);
  tree.WriteFile("x/2.c", kJapanese);
  tree.WriteFile("y.c", kJapanese);

  ReactingHost host;
  host.onFinding = [&](const Finding&) { fs::remove(tree.PathOf("x/2.c")); };
  EXPECT_FALSE(WalkTree(host, tree.Root()));
  EXPECT_EQ(host.traceLines.back(), "Error: failed to open the file.");
  EXPECT_EQ(host.traceLines[host.traceLines.size() - 2], "-- analyze:" + tree.PathOf("x/2.c"));
  EXPECT_EQ(PathsOf(host.findings), Lines{"x/1.c"});
  EXPECT_EQ(host.pumpCount, 0);
}

}  // namespace
}  // namespace quillmark::engine
