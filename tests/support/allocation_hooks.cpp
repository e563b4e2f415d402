#include "tests/support/allocation_hooks.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> allocated{0};
std::atomic<std::size_t> largestAllowed{SIZE_MAX};
std::atomic<std::size_t> refused{0};

}  // namespace

// GCC takes the free of a block from this very operator new for a
// mismatch.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  if (size > largestAllowed.load(std::memory_order_relaxed)) {
    refused.fetch_add(1, std::memory_order_relaxed);
    throw std::bad_alloc();
  }
  allocated.fetch_add(size, std::memory_order_relaxed);
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace quillmark::testing {

std::size_t AllocatedBytes() { return allocated.load(); }

ScopedAllocationLimit::ScopedAllocationLimit(std::size_t largestBytes) {
  refused.store(0);
  largestAllowed.store(largestBytes);
}

ScopedAllocationLimit::~ScopedAllocationLimit() { largestAllowed.store(SIZE_MAX); }

std::size_t ScopedAllocationLimit::Refused() const { return refused.load(); }

}  // namespace quillmark::testing
