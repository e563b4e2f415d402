// Makes the large allocations of this test program fail, as they would
// when memory runs short: a file read whole or a long line cannot be held,
// while the small allocations of windows and strings still succeed.
#pragma once

#include <cstddef>

namespace quillmark::testing {

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
