// The baseline the engine is measured against: reading the same files to
// their end and doing nothing with the bytes, as cat would.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillmark::bench {

inline constexpr std::size_t kPlainReadChunk = 256 * 1024;

// The files below `root` whose extension is listed, in the order of the
// engine's walk, found with the same folder listing the engine uses.
std::vector<std::string> ListSourceFiles(const std::string& root, const std::vector<std::string>& extensions);

// Reads every file ListSourceFiles would list, walking as it goes, so
// that nothing grows with the tree: what warms the page cache.
std::uint64_t ReadSourceTree(const std::string& root, const std::vector<std::string>& extensions,
                             std::vector<char>& buffer);

// Opens each file and read()s it to its end through `buffer`, in chunks of
// the buffer's size. Returns the bytes read; throws std::runtime_error when
// a file cannot be opened or read.
std::uint64_t ReadFiles(const std::vector<std::string>& paths, std::vector<char>& buffer);

}  // namespace quillmark::bench
