// What this process holds right now: open descriptors, threads, resident
// memory. Long runs compare them before and after to find what leaks.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <filesystem>
#include <fstream>

#if defined(__SANITIZE_ADDRESS__)
#define QUILLMARK_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLMARK_ADDRESS_SANITIZER 1
#endif
#endif

#ifdef QUILLMARK_ADDRESS_SANITIZER
// The sanitizer runtime's own count; GCC ships no header that declares it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace quillmark::testing {

inline std::size_t EntriesIn(const char* folder) {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
  return count;
}

// The listing's own descriptor is open while it counts, every time alike.
inline std::size_t OpenDescriptorCount() { return EntriesIn("/proc/self/fd"); }

inline std::size_t ThreadCount() { return EntriesIn("/proc/self/task"); }

// Resident set size from /proc/self/statm (second field, in pages).
inline std::size_t ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  std::size_t sizePages = 0;
  std::size_t residentPages = 0;
  statm >> sizePages >> residentPages;
  return residentPages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// The memory this process holds on to: its resident size, or under
// AddressSanitizer the heap blocks in use, since freed blocks wait in the
// sanitizer's quarantine (a few hundred MB) and would count as resident.
inline std::size_t MemoryInUseBytes() {
#ifdef QUILLMARK_ADDRESS_SANITIZER
  return __sanitizer_get_current_allocated_bytes();
#else
  return ResidentBytes();
#endif
}

}  // namespace quillmark::testing
