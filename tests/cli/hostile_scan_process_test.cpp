// quillmark-scan as a process over hostile trees: it ends, its memory stays
// bounded, its output keeps every name's bytes, and it writes no file and
// runs nothing.
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/cli/scan_child.h"
#include "tests/support/file_events.h"
#include "tests/support/memory_temp_folder.h"
#include "tests/support/temp_tree.h"

namespace quillmark::cli {
namespace {

namespace fs = std::filesystem;
using testing::FileEvents;
using testing::RunScanChild;
using testing::ScanChild;
using testing::TempTree;

constexpr const char* kJapanese = "\"\x82\xA0\"\n";  // "あ"
constexpr long kMiB = 1024;                         // in the KiB of ru_maxrss

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// ---- Size ------------------------------------------------------------------

TEST(HostileScanBig, AHundredThousandEmptyFilesInOneFolder) {
  constexpr int kFiles = 100000;
  const testing::ScopedMemoryTempFolder inMemory;
  TempTree tree;
  tree.MakeFolder("wide");
  const int folder = ::open(tree.PathOf("wide").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_GE(folder, 0);
  char name[32];
  for (int i = 0; i < kFiles; ++i) {
    std::snprintf(name, sizeof name, "f%06d.c", kFiles - 1 - i);  // made in reverse order
    const int fd = openat(folder, name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0) << name;
    ::close(fd);
  }
  ::close(folder);
  tree.WriteFile("wide/g.c", kJapanese);

  const ScanChild scan = RunScanChild({"--log", tree.Root()}, tree.Root());
  EXPECT_EQ(scan.status, 1);
  const std::vector<std::string> lines = SplitLines(scan.out);
  ASSERT_EQ(lines.size(), 2u + kFiles + 3u);
  EXPECT_EQ(lines[2], "-- analyze:" + tree.PathOf("wide/f000000.c"));
  EXPECT_EQ(lines[kFiles + 1], "-- analyze:" + tree.PathOf("wide/f099999.c"));
  EXPECT_EQ(lines.back(), ">> wide/g.c : 1");
  EXPECT_TRUE(std::is_sorted(lines.begin() + 2, lines.begin() + 2 + kFiles));
  // The folder's listing is held whole: some megabytes, never hundreds.
  EXPECT_LT(scan.maxRssKiB, 256 * kMiB);
  RecordProperty("MaxRssKiB", std::to_string(scan.maxRssKiB));
}

TEST(HostileScanBig, AFiftyMegabyteLineIsReadWhole) {
  constexpr std::size_t kLineBytes = 50u << 20;
  TempTree tree;
  {
    std::string line(kLineBytes, 'x');
    line.replace(line.size() - 8, 8, " = \"\x82\xA0\";");
    tree.WriteFile("big.c", line + "\n\"\x82\xA2\"\n");
  }
  tree.WriteFile("z.c", kJapanese);

  const ScanChild scan = RunScanChild({"."}, tree.Root());
  EXPECT_EQ(scan.status, 1);
  EXPECT_EQ(scan.out, "./big.c:1: あ\n./big.c:2: い\n./z.c:1: あ\n");
  // One line's bytes held, with room to grow (the sanitizer keeps freed
  // buffers a while): far below twenty times its size.
  EXPECT_LT(scan.maxRssKiB, 768 * kMiB);
  RecordProperty("MaxRssKiB", std::to_string(scan.maxRssKiB));
}

// ---- Names and kinds of entry ----------------------------------------------

// Under a memory limit a line too long to hold ends the walk with a word
// on it, after the findings already made have gone out.
TEST(HostileScanBig, ALineBeyondTheMemoryLimitIsReportedNotAborted) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer reserves more address space than the limit allows";
#else
  const testing::ScopedMemoryTempFolder inMemory;
  TempTree tree;
  tree.WriteFile("a.c", kJapanese);
  tree.WriteFile("z.c", "s = \"" + std::string(200u << 20, 'x') + "\";\n");
  const ScanChild scan = RunScanChild({"."}, tree.Root(), {.addressSpaceLimit = 300u << 20});
  EXPECT_EQ(scan.status, 2);
  EXPECT_EQ(scan.out, "./a.c:1: あ\n");
  EXPECT_EQ(scan.err, "quillmark-scan: " + tree.PathOf("z.c") + ": out of memory\n");
#endif
}

// Without its current folder a relative root names nothing: never "/".
TEST(HostileScan, ARemovedWorkingFolderIsNoRoot) {
  TempTree tree;
  struct Case {
    std::vector<std::string> arguments;
    std::string out;
    std::string err;
  };
  const Case cases[] = {
      {{"."}, "", "quillmark-scan: .: No such file or directory\n"},
      {{"src"}, "", "quillmark-scan: src: No such file or directory\n"},
      {{"--log", "."}, "=== directory:.\nError: failed to resolve the folder. (No such file or directory)\n",
       "quillmark-scan: .: No such file or directory\n"},
  };
  for (const Case& c : cases) {
    tree.MakeFolder("gone");
    const ScanChild scan = RunScanChild(c.arguments, tree.PathOf("gone"), {.removeFolder = true});
    EXPECT_EQ(scan.status, 2) << c.arguments.back();
    EXPECT_EQ(scan.out, c.out);
    EXPECT_EQ(scan.err, c.err);
  }
  // An absolute root needs no current folder.
  tree.WriteFile("src/a.c", kJapanese);
  tree.MakeFolder("gone");
  EXPECT_EQ(RunScanChild({tree.PathOf("src")}, tree.PathOf("gone"), {.removeFolder = true}).out, tree.PathOf("src") + "/a.c:1: あ\n");
}

// With SIGPIPE ignored, a reader that has gone shows as a failed write.
TEST(HostileScan, AReaderThatIsGoneEndsTheScan) {
  TempTree tree;
  // Far more output than a pipe holds, so that the scan is still writing
  // when the reader leaves after one byte.
  std::string manyFindings;
  for (int i = 0; i < 5000; ++i) manyFindings += kJapanese;
  for (int i = 0; i < 50; ++i) tree.WriteFile("d" + std::to_string(i) + "/a.c", manyFindings);
  const std::string command = "trap '' PIPE; '" + std::string(QUILLMARK_SCAN_PATH) + "' '" + tree.Root() +
                              "' 2>/dev/null | head -c 1 >/dev/null; exit ${PIPESTATUS[0]}";
  const int raw = std::system(("bash -c \"" + command + "\"").c_str());
  ASSERT_TRUE(WIFEXITED(raw));
  EXPECT_EQ(WEXITSTATUS(raw), 2);
}

TEST(HostileScan, NamesThatAreNotUtf8ArePrintedAsTheirBytes) {
  TempTree tree;
  tree.WriteFile("\xFF\xFE.c", kJapanese);
  tree.WriteFile("\x82\xA0 dir/a \"b\".c", kJapanese);

  const ScanChild findings = RunScanChild({tree.Root()}, "/");
  EXPECT_EQ(findings.status, 1);
  EXPECT_EQ(findings.out, tree.Root() + "/\x82\xA0 dir/a \"b\".c:1: あ\n" + tree.Root() + "/\xFF\xFE.c:1: あ\n");

  const ScanChild log = RunScanChild({"--log", "."}, tree.Root());
  EXPECT_EQ(log.status, 1);
  EXPECT_NE(log.out.find("=== directory:" + tree.PathOf("\x82\xA0 dir") + "\n"), std::string::npos);
  EXPECT_NE(log.out.find("-- analyze:" + tree.PathOf("\xFF\xFE.c") + "\n"), std::string::npos);
}

TEST(HostileScan, AFifoNamedLikeASourceIsNeverOpened) {
  TempTree tree;
  tree.MakeFifo("x.c");
  tree.WriteFile("y.c", kJapanese);
  FileEvents events;
  ASSERT_TRUE(events.Works());
  ASSERT_TRUE(events.Watch(tree.PathOf("x.c"), IN_OPEN | IN_ACCESS | IN_CLOSE));
  // The watch sees an open that does not block.
  const int control = ::open(tree.PathOf("x.c").c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(control, 0);
  ::close(control);
  ASSERT_FALSE(events.Take().empty());

  const ScanChild scan = RunScanChild({"."}, tree.Root());
  EXPECT_EQ(scan.status, 1);
  EXPECT_EQ(scan.out, "./y.c:1: あ\n");
  EXPECT_EQ(events.Take(), std::vector<std::string>{});
}

// ---- Nothing written, nothing run ------------------------------------------

// Every entry below a folder with what could show a change: kind, mode,
// size, modification and change times, link target, contents.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string path = entry.path().string();
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0) continue;
    std::string state = std::to_string(status.st_mode) + " " + std::to_string(status.st_size) + " " +
                        std::to_string(status.st_mtim.tv_sec) + "." + std::to_string(status.st_mtim.tv_nsec) +
                        " " + std::to_string(status.st_ctim.tv_sec) + "." +
                        std::to_string(status.st_ctim.tv_nsec);
    if (S_ISLNK(status.st_mode)) state += " -> " + fs::read_symlink(entry.path()).string();
    if (S_ISREG(status.st_mode)) state += "\n" + testing::ReadWholeFile(path);
    entries[path] = state;
  }
  return entries;
}

TEST(HostileScan, ASearchWritesNoFileAndRunsNothingItReads) {
  TempTree tree;
  // Run by a shell in the tree or in the folder the scan runs in, this
  // would make the marker file.
  const std::string marker = tree.PathOf("ran");
  const std::string touch = "touch ran";
  tree.WriteFile("a.c", "s = \"\x82\xA0$(" + touch + ")`" + touch + "`\"; // ;" + touch + "\n");
  tree.WriteFile("$(" + touch + ")/`" + touch + "`;" + touch + ".c", kJapanese);
  tree.WriteFile("quillmark.ini", "[Quillmark]\nFinderRootPath=/elsewhere\n");
  tree.WriteFile("sub/open.c", "\"unterminated $(" + touch + ")\n");
  tree.MakeLink("sub/up", "..");
  const auto before = Snapshot(tree.Root());
  FileEvents events;
  ASSERT_TRUE(events.WatchTree(tree.Root(), IN_CREATE | IN_MODIFY | IN_ATTRIB | IN_DELETE | IN_MOVED_FROM |
                                                IN_MOVED_TO | IN_CLOSE_WRITE));

  // No file may grow by a single byte; a write would end the child.
  const testing::ScanLimits noFileWrites{0};
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"."}, {"--log", "."}, {"--raw", "--ext", "c;ini", "."}}) {
    const ScanChild scan = RunScanChild(arguments, tree.Root(), noFileWrites);
    EXPECT_EQ(scan.signal, 0) << arguments.front();
    EXPECT_EQ(scan.status, 1) << arguments.front();
  }
  const ScanChild scan = RunScanChild({"."}, tree.Root(), noFileWrites);
  EXPECT_EQ(scan.out, "./$(" + touch + ")/`" + touch + "`;" + touch + ".c:1: あ\n./a.c:1: あ$(" + touch + ")`" +
                          touch + "`\n");

  EXPECT_FALSE(fs::exists(marker));
  EXPECT_EQ(events.Take(), std::vector<std::string>{});
  EXPECT_EQ(Snapshot(tree.Root()), before);
  // The watch does see a write.
  tree.WriteFile("sub/control", "x");
  EXPECT_FALSE(events.Take().empty());
}

}  // namespace
}  // namespace quillmark::cli
