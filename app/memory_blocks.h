// Memory for what a search piles up by the tens of megabytes, the log text
// and the result list's rows: taken in large blocks that are never moved,
// so that growing costs neither a copy of all that came before nor, where
// the system has transparent huge pages, a page fault every 4 KiB. Fresh
// memory costs as much as scanning a few kilobytes of source per page: a
// store that doubled a contiguous buffer spent more on it than the scan.
// Blocks given back are kept for the next search, and a few are made ready
// ahead on a thread of their own (see memory_blocks.cpp).
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace quillmark::app {

// The size of a block, and of a huge page.
inline constexpr std::size_t kBlockBytes = std::size_t{2} << 20;

class MemoryBlock {
 public:
  // At least `bytes`, rounded up to whole kBlockBytes; throws
  // std::bad_alloc when the system has no memory left.
  explicit MemoryBlock(std::size_t bytes);
  ~MemoryBlock();
  MemoryBlock(const MemoryBlock&) = delete;
  MemoryBlock& operator=(const MemoryBlock&) = delete;

  char* Data() const { return data_; }
  std::size_t Size() const { return size_; }

 private:
  char* data_ = nullptr;
  std::size_t size_ = 0;
};

// Bytes kept at stable addresses until Clear: what is appended is never
// moved, so a string_view into it stays valid.
class ByteArena {
 public:
  // Copies `bytes` into the arena, in one piece.
  std::string_view Keep(std::string_view bytes);
  void Clear();

 private:
  std::vector<std::unique_ptr<MemoryBlock>> blocks_;
  std::size_t usedInLast_ = 0;
};

}  // namespace quillmark::app
