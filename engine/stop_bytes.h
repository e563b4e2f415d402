// Finding the next byte that a scan loop must look at, sixteen bytes at a
// time where the processor allows.
#pragma once

#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>

#include "engine/byte_class_table.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillmark::engine {

// The bytes a loop stops at: at most four ASCII bytes, named so that the
// wide search can compare against them, and any bytes from 0x80 up, which
// it finds by their high bit. Built only by MakeStopBytes, so the two
// cannot disagree.
struct StopBytes {
  ByteClassTable table{};
  std::array<std::uint8_t, 4> ascii{};
  // Each ASCII stop byte sixteen times, loaded whole by the wide search
  // rather than spread at every call.
  alignas(16) std::array<std::array<std::uint8_t, 16>, 4> asciiLanes{};
};

// `highBytes` may hold only bytes from 0x80 up; `ascii` are added to them
// (repeat one to name fewer than four).
constexpr StopBytes MakeStopBytes(const ByteClassTable& highBytes, std::array<std::uint8_t, 4> ascii) {
  StopBytes stops{highBytes, ascii, {}};
  for (std::size_t b = 0; b < 0x80; ++b) assert(!highBytes[b] && "an ASCII stop byte must be named");
  for (std::size_t k = 0; k < ascii.size(); ++k) {
    assert(ascii[k] < 0x80 && "only ASCII stop bytes are named");
    stops.table[ascii[k]] = true;
    stops.asciiLanes[k].fill(ascii[k]);
  }
  return stops;
}

// The index of the first byte at or after `i` below `n` that is a stop
// byte, or `n` when there is none. Byte by byte.
inline std::size_t FindStopBytePortable(const std::uint8_t* bytes, std::size_t i, std::size_t n,
                                        const StopBytes& stops) {
  while (i < n && !stops.table[bytes[i]]) ++i;
  return i;
}

#if defined(__SSE2__)
// The same, sixteen bytes at a time: a byte is a candidate when it equals
// one of the ASCII stop bytes or has its high bit set, and the table
// decides among the candidates.
inline std::size_t FindStopByteSse2(const std::uint8_t* bytes, std::size_t i, std::size_t n, const StopBytes& stops) {
  const auto lane = [&stops](std::size_t k) {
    return _mm_load_si128(reinterpret_cast<const __m128i*>(stops.asciiLanes[k].data()));
  };
  const __m128i va = lane(0), vb = lane(1), vc = lane(2), vd = lane(3);
  while (i + 16 <= n) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
    const __m128i ascii = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, va), _mm_cmpeq_epi8(v, vb)),
                                       _mm_or_si128(_mm_cmpeq_epi8(v, vc), _mm_cmpeq_epi8(v, vd)));
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(ascii) | _mm_movemask_epi8(v));
    while (mask != 0) {
      const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(mask));
      if (stops.table[bytes[at]]) return at;
      mask &= mask - 1;
    }
    i += 16;
  }
  return FindStopBytePortable(bytes, i, n, stops);
}
#endif

inline std::size_t FindStopByte(const std::uint8_t* bytes, std::size_t i, std::size_t n, const StopBytes& stops) {
#if defined(__SSE2__)
  return FindStopByteSse2(bytes, i, n, stops);
#else
  return FindStopBytePortable(bytes, i, n, stops);
#endif
}

}  // namespace quillmark::engine
