// quillmark-bench-read: reads to their end the files whose paths come on
// standard input, each ended by a NUL, does nothing with the bytes and
// prints how many there were. The plain read quillmark-scan is timed
// against as a whole process: one process and one buffer for all files,
// as in the in-process plain reading. cat, next to it, maps a fresh buffer
// for each file, which costs more than reading a small file.

#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/plain_reader.h"

namespace {

std::vector<std::string> ReadPathList() {
  std::string text;
  char chunk[64 * 1024];
  for (;;) {
    const ssize_t count = ::read(STDIN_FILENO, chunk, sizeof chunk);
    if (count == 0) break;
    if (count < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error("cannot read the list of files");
    }
    text.append(chunk, static_cast<std::size_t>(count));
  }
  std::vector<std::string> paths;
  std::size_t start = 0;
  for (std::size_t end = text.find('\0'); end != std::string::npos; end = text.find('\0', start)) {
    paths.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return paths;
}

}  // namespace

int main() {
  try {
    std::vector<char> buffer(quillmark::bench::kPlainReadChunk);
    const std::uint64_t bytes = quillmark::bench::ReadFiles(ReadPathList(), buffer);
    std::printf("%llu\n", static_cast<unsigned long long>(bytes));
    return std::fflush(stdout) == 0 ? 0 : 2;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "quillmark-bench-read: %s\n", error.what());
    return 2;
  }
}
