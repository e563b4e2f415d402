// Generates, on disk, trees of C/C++ sources with Japanese literals to
// scan: Shift_JIS sources under one folder, EUC-JP sources under another;
// or one tree whose files are in different encodings side by side. The
// same shape, seed included, always gives the same tree.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillmark::bench {

// The extensions the generated sources have, as a FileExt setting.
inline constexpr std::string_view kSourceExtensions = "c;cpp;h;hpp";

struct TreeShape {
  std::uint64_t totalBytes = 128ull << 20;  // source bytes over both encodings, half each
  std::size_t folderCount = 256;            // over both encodings, their two top folders included
  std::uint64_t seed = 1;
  std::size_t meanFileBytes = 24 * 1024;  // files range from a quarter to 1.75 times this
  int maxDepth = 4;                       // folder levels below an encoding's top folder
  int crlfFilePercent = 12;               // files whose lines end in CR LF
  int plainLinePercent = 0;               // body lines without literals, on top of the mix
  int otherFilePercent = 25;              // folders that also hold a notes.txt, which a scan skips
};

// What one encoding's folder holds, and what a scan of it must meet.
struct TreeStats {
  std::uint64_t files = 0;       // sources, with one of kSourceExtensions
  std::uint64_t folders = 0;     // the encoding's top folder included
  std::uint64_t bytes = 0;       // of the sources
  std::uint64_t lines = 0;       // of the sources
  std::uint64_t literals = 0;    // non-empty literals outside comments: each one is checked
  std::uint64_t findings = 0;    // those holding Japanese: each one is reported
  std::uint64_t otherFiles = 0;  // files the extension list leaves out
};

struct GeneratedTree {
  std::string sjisRoot;  // absolute; Shift_JIS sources
  std::string eucRoot;   // absolute; EUC-JP sources
  TreeStats sjis;
  TreeStats euc;
};

// Writes the tree into `folder`, made when missing: Shift_JIS sources
// under its "sjis" folder, EUC-JP ones under "euc". Throws std::runtime_error when a file or folder cannot
// be made.
GeneratedTree GenerateTree(const std::string& folder, const TreeShape& shape);

// Shift_JIS sources alone: `shape.totalBytes` of them over
// `shape.folderCount` folders, the top one `folder`, which must not exist.
// Throws std::runtime_error when a file or folder cannot be made.
TreeStats GenerateShiftJisTree(const std::string& folder, const TreeShape& shape);

TreeStats CombineStats(const TreeStats& a, const TreeStats& b);

// A tree as old ones are: mostly ASCII-only files, with Shift_JIS, EUC-JP
// and UTF-8 files among them in the same folders.
struct MixedTreeShape {
  TreeShape tree;               // bytes, folders, seed and file sizes, as for GenerateTree
  int asciiFilePercent = 80;    // the rest is a third each Shift_JIS, EUC-JP, UTF-8
  int utf8BomPercent = 25;      // UTF-8 files that start with a byte-order mark
  std::uint64_t largeFileBytes = 0;  // one ASCII-only file this large, when not 0
};

struct MixedTree {
  std::string root;  // absolute
  // The same files again, hard links sorted by encoding, each folder flat:
  // ASCII and Shift_JIS ones, EUC-JP ones, UTF-8 ones.
  std::string sortedSjisRoot;
  std::string sortedEucRoot;
  std::string sortedUtf8Root;
  TreeStats ascii;   // folders and other files counted in `all` only
  TreeStats sjis;
  TreeStats euc;
  TreeStats utf8;
  TreeStats all;
  std::uint64_t utf8BomFiles = 0;
  std::uint64_t largestFileBytes = 0;
};

// Writes the tree into `folder` and the sorted links into `sortedFolder`,
// neither of which may exist. Throws std::runtime_error when a file, link
// or folder cannot be made.
MixedTree GenerateMixedTree(const std::string& folder, const std::string& sortedFolder, const MixedTreeShape& shape);

}  // namespace quillmark::bench
