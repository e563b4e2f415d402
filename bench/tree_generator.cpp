#include "bench/tree_generator.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "bench/japanese_text.h"
#include "bench/random.h"
#include "bench/source_text_writer.h"
#include "platform/path.h"

namespace quillmark::bench {
namespace {

constexpr std::array<std::string_view, 8> kFolderPrefixes = {"src", "lib", "ui", "net", "db", "util", "core", "io"};
constexpr std::array<std::string_view, 8> kFilePrefixes = {"main",   "dialog", "report", "parser",
                                                           "window", "record", "config", "message"};
constexpr std::array<std::string_view, 4> kExtensions = {".c", ".cpp", ".h", ".hpp"};

[[noreturn]] void Fail(const std::string& what, const std::string& path) {
  throw std::runtime_error(what + " " + path + ": " + std::strerror(errno));
}

void MakeFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0755) != 0) Fail("cannot make folder", path);
}

void WriteWholeFile(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) Fail("cannot create", path);
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      const int error = errno;
      ::close(fd);
      errno = error;
      Fail("cannot write", path);
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  if (::close(fd) != 0) Fail("cannot write", path);
}

std::string Name(std::string_view prefix, std::size_t index, std::string_view suffix) {
  std::string name(prefix);
  name += '_';
  name += std::to_string(index);
  name += suffix;
  return name;
}

// Folders nest by giving each new one a random parent among those made
// before it, or the top folder when that parent is at the deepest level.
std::vector<std::string> MakeFolders(const std::string& root, std::size_t count, int maxDepth, Random& random) {
  std::vector<std::string> paths{root};
  std::vector<int> depths{0};
  MakeFolder(root);
  for (std::size_t i = 1; i < count; ++i) {
    std::size_t parent = random.Below(static_cast<std::uint32_t>(i));
    if (depths[parent] >= maxDepth) parent = 0;
    paths.push_back(platform::JoinPath(paths[parent], Name(kFolderPrefixes[random.Below(8)], i, "")));
    depths.push_back(depths[parent] + 1);
    MakeFolder(paths.back());
  }
  return paths;
}

std::string NotesText(SourceEncoding encoding, Random& random) {
  std::string text = "Notes\n";
  for (int line = 0; line < 8; ++line) {
    for (std::uint32_t i = random.Between(5, 30); i > 0; --i)
      AppendJisCharacter(text, encoding, RandomJisCharacter(random));
    text += " \"quoted\"\n";
  }
  return text;
}

TreeStats GenerateEncodingFolder(const std::string& root, SourceEncoding encoding, std::uint64_t bytes,
                                 std::size_t folderCount, const TreeShape& shape, std::uint64_t seed) {
  Random random(seed);
  const std::vector<std::string> folders =
      MakeFolders(root, std::max<std::size_t>(folderCount, 1), shape.maxDepth, random);

  TreeStats stats;
  stats.folders = folders.size();
  SourceTextWriter writer(encoding, random, shape.plainLinePercent);
  const std::size_t meanBytes = std::max<std::size_t>(shape.meanFileBytes, 64);
  std::string text;
  text.reserve(meanBytes * 2 + 4096);
  while (stats.bytes < bytes) {
    const std::uint64_t wanted = meanBytes / 4 + random.Below(static_cast<std::uint32_t>(meanBytes * 3 / 2));
    const std::uint64_t target = std::min(wanted, bytes - stats.bytes);
    const bool crlf = random.Percent(static_cast<std::uint32_t>(shape.crlfFilePercent));
    writer.WriteFile(text, static_cast<std::size_t>(target), crlf);
    const std::string& folder = folders[random.Below(static_cast<std::uint32_t>(folders.size()))];
    const std::string name = Name(kFilePrefixes[random.Below(8)], stats.files, kExtensions[random.Below(4)]);
    WriteWholeFile(platform::JoinPath(folder, name), text);
    stats.bytes += text.size();
    ++stats.files;
  }

  for (const std::string& folder : folders) {
    if (!random.Percent(static_cast<std::uint32_t>(shape.otherFilePercent))) continue;
    WriteWholeFile(platform::JoinPath(folder, "notes.txt"), NotesText(encoding, random));
    ++stats.otherFiles;
  }

  const SourceCounts& counts = writer.Counts();
  stats.lines = counts.lines;
  stats.literals = counts.literals;
  stats.findings = counts.japaneseLiterals;
  return stats;
}

// One writer per encoding, so that each keeps the counts of its own files.
struct MixedWriters {
  SourceTextWriter ascii;
  SourceTextWriter sjis;
  SourceTextWriter euc;
  SourceTextWriter utf8;
};

void SetCounts(TreeStats& stats, const SourceCounts& counts) {
  stats.lines = counts.lines;
  stats.literals = counts.literals;
  stats.findings = counts.japaneseLiterals;
}

}  // namespace

GeneratedTree GenerateTree(const std::string& folder, const TreeShape& shape) {
  GeneratedTree tree;
  const std::string root = platform::MakeAbsolutePath(folder).value();
  if (::mkdir(root.c_str(), 0755) != 0 && errno != EEXIST) Fail("cannot make folder", root);
  tree.sjisRoot = platform::JoinPath(root, "sjis");
  tree.eucRoot = platform::JoinPath(root, "euc");
  const std::uint64_t sjisBytes = shape.totalBytes - shape.totalBytes / 2;
  const std::size_t sjisFolders = shape.folderCount - shape.folderCount / 2;
  tree.sjis = GenerateEncodingFolder(tree.sjisRoot, SourceEncoding::ShiftJis, sjisBytes, sjisFolders, shape,
                                     shape.seed * 2 + 1);
  tree.euc = GenerateEncodingFolder(tree.eucRoot, SourceEncoding::EucJp, shape.totalBytes / 2, shape.folderCount / 2,
                                    shape, shape.seed * 2 + 2);
  return tree;
}

TreeStats GenerateShiftJisTree(const std::string& folder, const TreeShape& shape) {
  return GenerateEncodingFolder(platform::MakeAbsolutePath(folder).value(), SourceEncoding::ShiftJis, shape.totalBytes,
                                shape.folderCount, shape, shape.seed * 2 + 1);
}

TreeStats CombineStats(const TreeStats& a, const TreeStats& b) {
  return TreeStats{a.files + b.files,       a.folders + b.folders,   a.bytes + b.bytes,
                   a.lines + b.lines,       a.literals + b.literals, a.findings + b.findings,
                   a.otherFiles + b.otherFiles};
}

MixedTree GenerateMixedTree(const std::string& folder, const std::string& sortedFolder, const MixedTreeShape& shape) {
  const TreeShape& tree = shape.tree;
  MixedTree mixed;
  mixed.root = platform::MakeAbsolutePath(folder).value();
  const std::string sortedRoot = platform::MakeAbsolutePath(sortedFolder).value();
  mixed.sortedSjisRoot = platform::JoinPath(sortedRoot, "sjis");
  mixed.sortedEucRoot = platform::JoinPath(sortedRoot, "euc");
  mixed.sortedUtf8Root = platform::JoinPath(sortedRoot, "utf8");
  for (const std::string& path : {sortedRoot, mixed.sortedSjisRoot, mixed.sortedEucRoot, mixed.sortedUtf8Root})
    MakeFolder(path);
  Random random(tree.seed * 2 + 3);
  const std::vector<std::string> folders =
      MakeFolders(mixed.root, std::max<std::size_t>(tree.folderCount, 1), tree.maxDepth, random);

  const int plain = tree.plainLinePercent;
  MixedWriters writers{SourceTextWriter(SourceEncoding::Ascii, random, plain),
                       SourceTextWriter(SourceEncoding::ShiftJis, random, plain),
                       SourceTextWriter(SourceEncoding::EucJp, random, plain),
                       SourceTextWriter(SourceEncoding::Utf8, random, plain)};
  const std::size_t meanBytes = std::max<std::size_t>(tree.meanFileBytes, 64);
  std::string text;
  text.reserve(meanBytes * 2 + 4096);
  std::uint64_t written = 0;
  std::uint64_t files = 0;
  while (written < tree.totalBytes) {
    const bool large = files == 0 && shape.largeFileBytes != 0;
    const std::uint64_t wanted =
        large ? shape.largeFileBytes : meanBytes / 4 + random.Below(static_cast<std::uint32_t>(meanBytes * 3 / 2));
    const std::uint64_t target = std::min(wanted, tree.totalBytes - written);
    const bool crlf = random.Percent(static_cast<std::uint32_t>(tree.crlfFilePercent));

    SourceTextWriter* writer = &writers.sjis;
    TreeStats* stats = &mixed.sjis;
    const std::string* sortedRootOfFile = &mixed.sortedSjisRoot;
    if (large || random.Percent(static_cast<std::uint32_t>(shape.asciiFilePercent))) {
      writer = &writers.ascii;
      stats = &mixed.ascii;
    } else {
      switch (random.Below(3)) {
        case 1:
          writer = &writers.euc;
          stats = &mixed.euc;
          sortedRootOfFile = &mixed.sortedEucRoot;
          break;
        case 2:
          writer = &writers.utf8;
          stats = &mixed.utf8;
          sortedRootOfFile = &mixed.sortedUtf8Root;
          break;
        default:
          break;
      }
    }
    writer->WriteFile(text, static_cast<std::size_t>(target), crlf);
    if (stats == &mixed.utf8 && random.Percent(static_cast<std::uint32_t>(shape.utf8BomPercent))) {
      text.insert(0, "\xEF\xBB\xBF");
      ++mixed.utf8BomFiles;
    }

    const std::string& parent = folders[random.Below(static_cast<std::uint32_t>(folders.size()))];
    const std::string name = Name(kFilePrefixes[random.Below(8)], files, kExtensions[random.Below(4)]);
    const std::string path = platform::JoinPath(parent, name);
    WriteWholeFile(path, text);
    const std::string link = platform::JoinPath(*sortedRootOfFile, name);
    if (::link(path.c_str(), link.c_str()) != 0) Fail("cannot link", link);
    stats->bytes += text.size();
    ++stats->files;
    written += text.size();
    ++files;
    mixed.largestFileBytes = std::max<std::uint64_t>(mixed.largestFileBytes, text.size());
  }

  std::uint64_t otherFiles = 0;
  for (const std::string& parent : folders) {
    if (!random.Percent(static_cast<std::uint32_t>(tree.otherFilePercent))) continue;
    WriteWholeFile(platform::JoinPath(parent, "notes.txt"), NotesText(SourceEncoding::Utf8, random));
    ++otherFiles;
  }

  SetCounts(mixed.ascii, writers.ascii.Counts());
  SetCounts(mixed.sjis, writers.sjis.Counts());
  SetCounts(mixed.euc, writers.euc.Counts());
  SetCounts(mixed.utf8, writers.utf8.Counts());
  mixed.all = CombineStats(CombineStats(mixed.ascii, mixed.sjis), CombineStats(mixed.euc, mixed.utf8));
  mixed.all.folders = folders.size();
  mixed.all.otherFiles = otherFiles;
  return mixed;
}

}  // namespace quillmark::bench
