// Checks of what the timed programs read and wrote, made on files once, so
// that a timing is only quoted for a program that did the whole work.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillmark::bench {

// Writes `paths` into `listPath`, each ended by a NUL, as xargs -0 reads them.
void WriteFileList(const std::string& listPath, const std::vector<std::string>& paths);

std::uint64_t CountLines(const std::string& path);

// The number a file holds, as a program printed it; 0 when it holds none.
std::uint64_t ReadCount(const std::string& path);

bool SameBytes(const std::string& pathA, const std::string& pathB);

// The lines of the files that hold a byte from 0x80 up: what a byte search
// for non-ASCII text counts, a last line without its LF included.
std::uint64_t CountNonAsciiLines(const std::vector<std::string>& paths);

}  // namespace quillmark::bench
