#include "platform/process_limits.h"

#include <windows.h>

namespace quillmark::platform {

unsigned ProcessorCount() {
  const DWORD count = GetActiveProcessorCount(ALL_PROCESSOR_GROUPS);
  return count > 0 ? static_cast<unsigned>(count) : 1;
}

std::size_t OpenFileLimit(std::size_t) {
  // Handles are limited by memory only (16 million a process).
  return std::size_t{1} << 24;
}

}  // namespace quillmark::platform
