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
template <std::size_t AsciiCount>
struct StopBytesOf {
  ByteClassTable table{};
  std::array<std::uint8_t, AsciiCount> ascii{};
  // Each ASCII stop byte sixteen times, loaded whole by the wide search
  // rather than spread at every call.
  alignas(16) std::array<std::array<std::uint8_t, 16>, AsciiCount> asciiLanes{};
};
using StopBytes = StopBytesOf<4>;

// `highBytes` may hold only bytes from 0x80 up; `ascii` are added to them
// (repeat one to name fewer).
template <std::size_t AsciiCount = 4>
constexpr StopBytesOf<AsciiCount> MakeStopBytes(const ByteClassTable& highBytes,
                                                std::array<std::uint8_t, AsciiCount> ascii) {
  StopBytesOf<AsciiCount> stops{highBytes, ascii, {}};
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
template <std::size_t AsciiCount>
inline std::size_t FindStopBytePortable(const std::uint8_t* bytes, std::size_t i, std::size_t n,
                                        const StopBytesOf<AsciiCount>& stops) {
  while (i < n && !stops.table[bytes[i]]) ++i;
  return i;
}

#if defined(__SSE2__)
// The same, sixteen bytes at a time: a byte is a candidate when it equals
// one of the ASCII stop bytes or has its high bit set, and the table
// decides among the candidates.
template <std::size_t AsciiCount>
inline std::size_t FindStopByteSse2(const std::uint8_t* bytes, std::size_t i, std::size_t n,
                                    const StopBytesOf<AsciiCount>& stops) {
  __m128i lanes[AsciiCount];
  for (std::size_t k = 0; k < AsciiCount; ++k)
    lanes[k] = _mm_load_si128(reinterpret_cast<const __m128i*>(stops.asciiLanes[k].data()));
  while (i + 16 <= n) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
    __m128i ascii = _mm_cmpeq_epi8(v, lanes[0]);
    for (std::size_t k = 1; k < AsciiCount; ++k) ascii = _mm_or_si128(ascii, _mm_cmpeq_epi8(v, lanes[k]));
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

template <std::size_t AsciiCount>
inline std::size_t FindStopByte(const std::uint8_t* bytes, std::size_t i, std::size_t n,
                                const StopBytesOf<AsciiCount>& stops) {
#if defined(__SSE2__)
  return FindStopByteSse2(bytes, i, n, stops);
#else
  return FindStopBytePortable(bytes, i, n, stops);
#endif
}

}  // namespace quillmark::engine
