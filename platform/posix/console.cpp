#include "platform/console.h"

#include <unistd.h>

namespace quillmark::platform {

bool IsTerminal(std::FILE* stream) { return isatty(fileno(stream)) == 1; }

bool WriteStream(std::FILE* stream, std::string_view bytes) {
  // One thread writes: the stream's lock would be taken for nothing.
  return fwrite_unlocked(bytes.data(), 1, bytes.size(), stream) == bytes.size();
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

}  // namespace quillmark::platform
