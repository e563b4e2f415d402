// A small deterministic generator, so that one seed always gives the same
// tree on every machine and standard library.
#pragma once

#include <cstdint>

namespace quillmark::bench {

class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}

  // SplitMix64: fast, and good enough to pick lines and characters.
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // Uniform in [0, bound); bound must not be 0.
  std::uint32_t Below(std::uint32_t bound) {
    return static_cast<std::uint32_t>(((Next() >> 32) * bound) >> 32);
  }

  // Uniform in [first, last].
  std::uint32_t Between(std::uint32_t first, std::uint32_t last) { return first + Below(last - first + 1); }

  bool Percent(std::uint32_t percent) { return Below(100) < percent; }

 private:
  std::uint64_t state_;
};

}  // namespace quillmark::bench
