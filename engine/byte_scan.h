// Finding the next byte that a scan loop must look at, sixteen bytes at a
// time where the processor allows.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/byte_class_table.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillmark::engine {

// The index of the first byte at or after `i` for which `stops` holds, or
// a value not below `n` when there is none. Every stop byte must be one of
// the four ASCII bytes given or have its high bit set: those are the only
// candidates that the wide path checks against the table.
inline std::size_t FindStopByte(const std::uint8_t* bytes, std::size_t i, std::size_t n, const ByteClassTable& stops,
                                std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
#if defined(__SSE2__)
  const __m128i va = _mm_set1_epi8(static_cast<char>(a));
  const __m128i vb = _mm_set1_epi8(static_cast<char>(b));
  const __m128i vc = _mm_set1_epi8(static_cast<char>(c));
  const __m128i vd = _mm_set1_epi8(static_cast<char>(d));
  while (i + 16 <= n) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
    const __m128i ascii = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, va), _mm_cmpeq_epi8(v, vb)),
                                       _mm_or_si128(_mm_cmpeq_epi8(v, vc), _mm_cmpeq_epi8(v, vd)));
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(ascii) | _mm_movemask_epi8(v));
    while (mask != 0) {
      const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(mask));
      if (stops[bytes[at]]) return at;
      mask &= mask - 1;
    }
    i += 16;
  }
#else
  (void)a, (void)b, (void)c, (void)d;
#endif
  while (i < n && !stops[bytes[i]]) ++i;
  return i;
}

}  // namespace quillmark::engine
