#include "allocation_limit.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

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
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace quillmark::testing {

ScopedAllocationLimit::ScopedAllocationLimit(std::size_t largestBytes) {
  refused.store(0);
  largestAllowed.store(largestBytes);
}

ScopedAllocationLimit::~ScopedAllocationLimit() { largestAllowed.store(SIZE_MAX); }

std::size_t ScopedAllocationLimit::Refused() const { return refused.load(); }

}  // namespace quillmark::testing
