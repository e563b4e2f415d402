// The program's own operator new, for tests that measure or deny memory:
// counts every byte asked for, and can refuse large blocks as when memory
// runs short (a file read whole or a long line cannot be held, while the
// small allocations of windows and strings still succeed). Add
// allocation_hooks.cpp to a test program to have it.
#pragma once

#include <cstddef>

namespace quillmark::testing {

// Every byte asked of operator new so far.
std::size_t AllocatedBytes();

// While one lives, every operator new of more than `largestBytes` throws
// std::bad_alloc.
class ScopedAllocationLimit {
 public:
  explicit ScopedAllocationLimit(std::size_t largestBytes);
  ~ScopedAllocationLimit();
  ScopedAllocationLimit(const ScopedAllocationLimit&) = delete;
  ScopedAllocationLimit& operator=(const ScopedAllocationLimit&) = delete;

  // How many allocations were refused so far: none means that the code
  // under test never needed the memory the test took away.
  std::size_t Refused() const;
};

}  // namespace quillmark::testing
