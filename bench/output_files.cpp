#include "bench/output_files.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace quillmark::bench {
namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

constexpr std::size_t kChunk = 256 * 1024;

File Open(const std::string& path, const char* mode) {
  std::FILE* file = std::fopen(path.c_str(), mode);
  if (file == nullptr) throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
  return File(file, std::fclose);
}

// Calls `visit` with each piece of the file, in order.
template <class Visit>
void ReadInPieces(const std::string& path, Visit visit) {
  const File file = Open(path, "rb");
  std::vector<char> buffer(kChunk);
  std::size_t count = 0;
  while ((count = std::fread(buffer.data(), 1, buffer.size(), file.get())) > 0) visit(buffer.data(), count);
  if (std::ferror(file.get())) throw std::runtime_error("cannot read " + path);
}

}  // namespace

void WriteFileList(const std::string& listPath, const std::vector<std::string>& paths) {
  const File file = Open(listPath, "wb");
  for (const std::string& path : paths) std::fwrite(path.c_str(), 1, path.size() + 1, file.get());
  if (std::fflush(file.get()) != 0 || std::ferror(file.get())) throw std::runtime_error("cannot write " + listPath);
}

std::uint64_t CountLines(const std::string& path) {
  std::uint64_t lines = 0;
  ReadInPieces(path, [&](const char* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) lines += bytes[i] == '\n';
  });
  return lines;
}

std::uint64_t ReadCount(const std::string& path) {
  std::string text;
  ReadInPieces(path, [&](const char* bytes, std::size_t count) { text.append(bytes, count); });
  return std::strtoull(text.c_str(), nullptr, 10);
}

bool SameBytes(const std::string& pathA, const std::string& pathB) {
  const File fileA = Open(pathA, "rb");
  const File fileB = Open(pathB, "rb");
  std::vector<char> bufferA(kChunk);
  std::vector<char> bufferB(kChunk);
  while (true) {
    const std::size_t countA = std::fread(bufferA.data(), 1, bufferA.size(), fileA.get());
    const std::size_t countB = std::fread(bufferB.data(), 1, bufferB.size(), fileB.get());
    if (countA != countB || std::memcmp(bufferA.data(), bufferB.data(), countA) != 0) return false;
    if (countA == 0) return !std::ferror(fileA.get()) && !std::ferror(fileB.get());
  }
}

std::uint64_t CountNonAsciiLines(const std::vector<std::string>& paths) {
  std::uint64_t lines = 0;
  for (const std::string& path : paths) {
    bool nonAscii = false;
    ReadInPieces(path, [&](const char* bytes, std::size_t count) {
      for (std::size_t i = 0; i < count; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte >= 0x80) {
          nonAscii = true;
        } else if (byte == '\n') {
          lines += nonAscii;
          nonAscii = false;
        }
      }
    });
    lines += nonAscii;
  }
  return lines;
}

}  // namespace quillmark::bench
