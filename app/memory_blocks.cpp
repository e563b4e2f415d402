#include "app/memory_blocks.h"

#include <sys/mman.h>

#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

namespace quillmark::app {
namespace {

// A block-aligned mapping of `size` bytes (a multiple of kBlockBytes), or
// null: a huge page needs an aligned address, so a spare block is mapped
// and what lies outside the aligned part given back.
char* MapBlock(std::size_t size) {
  void* mapped = mmap(nullptr, size + kBlockBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = (start + kBlockBytes - 1) / kBlockBytes * kBlockBytes;
  if (aligned > start) munmap(mapped, aligned - start);
  const std::uintptr_t end = start + size + kBlockBytes;
  if (end > aligned + size) munmap(reinterpret_cast<void*>(aligned + size), end - (aligned + size));
#ifdef MADV_HUGEPAGE
  // Advice only: without huge pages the block works as well, more slowly.
  madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
#endif
  return reinterpret_cast<char*>(aligned);
}

// Blocks of kBlockBytes ready for use. Memory that the system must first
// zero (and, in a virtual machine, first back) costs far more than memory
// used before: so blocks given back are kept for the next search (at most
// 64 MiB, and the system may take them back under pressure), and a few
// fresh ones are made ready ahead, on a thread of their own, so that the
// thread that fills them does not wait for their pages.
class BlockSupply {
 public:
  static constexpr std::size_t kMaxSpare = 32;
  static constexpr std::size_t kReadyAhead = 4;

  // A block, or null when memory ran out.
  char* Take() {
    std::unique_lock lock(mutex_);
    if (!started_) {
      started_ = true;
      std::thread([this] { MakeReady(); }).detach();
    }
    char* block = nullptr;
    if (!spare_.empty()) {
      block = spare_.back();
      spare_.pop_back();
    } else if (!ready_.empty()) {
      block = ready_.back();
      ready_.pop_back();
    }
    wanted_.notify_one();
    lock.unlock();
    return block != nullptr ? block : MapBlock(kBlockBytes);
  }

  bool Keep(char* block) {
    const std::lock_guard lock(mutex_);
    if (spare_.size() >= kMaxSpare) return false;
#ifdef MADV_FREE
    madvise(block, kBlockBytes, MADV_FREE);
#endif
    spare_.push_back(block);
    return true;
  }

 private:
  void MakeReady() {
    std::unique_lock lock(mutex_);
    for (;;) {
      wanted_.wait(lock, [this] { return ready_.size() + spare_.size() < kReadyAhead; });
      lock.unlock();
      char* block = MapBlock(kBlockBytes);
      // Touched page by page, so that the pages exist before anyone needs them.
      if (block != nullptr) {
        for (std::size_t offset = 0; offset < kBlockBytes; offset += 4096) block[offset] = 0;
      }
      lock.lock();
      if (block == nullptr) {
        // Out of memory: try again when the next block is taken.
        wanted_.wait(lock);
        continue;
      }
      ready_.push_back(block);
    }
  }

  std::mutex mutex_;
  std::condition_variable wanted_;
  bool started_ = false;
  std::vector<char*> spare_;
  std::vector<char*> ready_;
};

BlockSupply& Supply() {
  // Never destroyed: its thread waits as long as the program runs, and
  // blocks may be given back while the program ends.
  static BlockSupply* const supply = new BlockSupply;
  return *supply;
}

}  // namespace

MemoryBlock::MemoryBlock(std::size_t bytes) {
  const std::size_t size = (bytes + kBlockBytes - 1) / kBlockBytes * kBlockBytes;
  data_ = size == kBlockBytes ? Supply().Take() : MapBlock(size);
  if (data_ == nullptr) throw std::bad_alloc();
  size_ = size;
}

MemoryBlock::~MemoryBlock() {
  if (size_ == kBlockBytes && Supply().Keep(data_)) return;
  munmap(data_, size_);
}

std::string_view ByteArena::Keep(std::string_view bytes) {
  if (blocks_.empty() || blocks_.back()->Size() - usedInLast_ < bytes.size()) {
    blocks_.push_back(std::make_unique<MemoryBlock>(bytes.size() > kBlockBytes ? bytes.size() : kBlockBytes));
    usedInLast_ = 0;
  }
  char* at = blocks_.back()->Data() + usedInLast_;
  if (!bytes.empty()) std::memcpy(at, bytes.data(), bytes.size());
  usedInLast_ += bytes.size();
  return std::string_view(at, bytes.size());
}

void ByteArena::Clear() {
  blocks_.clear();
  usedInLast_ = 0;
}

}  // namespace quillmark::app
