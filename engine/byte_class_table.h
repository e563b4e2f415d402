// A 256-entry table of byte classes, built at compile time from ranges, so
// that the scanner's inner loop tests a byte with one load.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <utility>

namespace quillmark::engine {

using ByteClassTable = std::array<bool, 256>;

constexpr ByteClassTable MakeByteClassTable(std::initializer_list<std::pair<int, int>> inclusiveRanges) {
  ByteClassTable table{};
  for (auto [first, last] : inclusiveRanges)
    for (int b = first; b <= last; ++b) table[static_cast<std::size_t>(b)] = true;
  return table;
}

// The bytes for which `in` holds.
template <class Predicate>
constexpr ByteClassTable MakeByteClassTable(Predicate in) {
  ByteClassTable table{};
  for (int b = 0; b < 256; ++b) table[static_cast<std::size_t>(b)] = in(static_cast<unsigned char>(b));
  return table;
}

}  // namespace quillmark::engine
