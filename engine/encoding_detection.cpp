#include "engine/encoding_detection.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/byte_class_table.h"
#include "platform/code_page.h"

namespace quillmark::engine {
namespace {

// Most files of a search are ASCII throughout, so the first byte from 0x80
// up is looked for sixteen bytes a step. Returns bytes.size() when none.
std::size_t FindFirstHighByte(std::string_view bytes) {
  constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
  const char* data = bytes.data();
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    std::uint64_t low;
    std::uint64_t high;
    std::memcpy(&low, data + i, sizeof low);
    std::memcpy(&high, data + i + 8, sizeof high);
    if (((low | high) & kHighBits) != 0) break;
  }
  while (i < n && static_cast<unsigned char>(data[i]) < 0x80) ++i;
  return i;
}

struct ReadingCounts {
  std::size_t invalid = 0;
  std::size_t japanese = 0;
};

constexpr bool InRange(unsigned value, unsigned first, unsigned last) { return value >= first && value <= last; }

constexpr ByteClassTable kSjisSingle = MakeByteClassTable({{0x00, 0x7F}, {0xA1, 0xDF}});
constexpr ByteClassTable kSjisLead = MakeByteClassTable({{0x81, 0x9F}, {0xE0, 0xFC}});
constexpr ByteClassTable kSjisTrail = MakeByteClassTable({{0x40, 0x7E}, {0x80, 0xFC}});
constexpr ByteClassTable kEucRowByte = MakeByteClassTable({{0xA1, 0xFE}});
constexpr ByteClassTable kEucKana = MakeByteClassTable({{0xA1, 0xDF}});

// Symbols, hiragana, katakana and the first-level kanji.
constexpr bool IsSjisJapaneseText(unsigned code) {
  return InRange(code, 0x8140, 0x81AC) || InRange(code, 0x829F, 0x82F1) || InRange(code, 0x8340, 0x8396) ||
         InRange(code, 0x889F, 0x9872);
}

constexpr bool IsEucJapaneseText(unsigned code) {
  return InRange(code, 0xA1A1, 0xA2AE) || InRange(code, 0xA4A1, 0xA4F3) || InRange(code, 0xA5A1, 0xA5F6) ||
         InRange(code, 0xB0A1, 0xCFD3);
}

ReadingCounts CountShiftJis(const std::uint8_t* bytes, std::size_t n) {
  ReadingCounts counts;
  std::size_t i = 0;
  while (i < n) {
    const std::uint8_t b = bytes[i];
    if (kSjisSingle[b]) {
      ++i;
    } else if (kSjisLead[b] && i + 1 < n && kSjisTrail[bytes[i + 1]]) {
      counts.japanese += IsSjisJapaneseText(b * 256u + bytes[i + 1]);
      i += 2;
    } else {
      // A lead byte without its trail spoils only itself.
      ++counts.invalid;
      ++i;
    }
  }
  return counts;
}

ReadingCounts CountEucJp(const std::uint8_t* bytes, std::size_t n) {
  ReadingCounts counts;
  std::size_t i = 0;
  while (i < n) {
    const std::uint8_t b = bytes[i];
    if (b < 0x80) {
      ++i;
    } else if (kEucRowByte[b] && i + 1 < n && kEucRowByte[bytes[i + 1]]) {
      counts.japanese += IsEucJapaneseText(b * 256u + bytes[i + 1]);
      i += 2;
    } else if (b == 0x8E && i + 1 < n && kEucKana[bytes[i + 1]]) {
      i += 2;
    } else if (b == 0x8F && i + 2 < n && kEucRowByte[bytes[i + 1]] && kEucRowByte[bytes[i + 2]]) {
      i += 3;
    } else {
      ++counts.invalid;
      ++i;
    }
  }
  return counts;
}

}  // namespace

DetectedEncoding DetectEncoding(std::string_view bytes) {
  const std::size_t first = FindFirstHighByte(bytes);
  if (first == bytes.size()) return DetectedEncoding::Ascii;
  // The ASCII bytes before the first high one are whole characters in every
  // reading and count for none, so each check starts there. A byte-order
  // mark is itself valid UTF-8 and needs no special case.
  const std::string_view rest = bytes.substr(first);
  if (platform::IsValidUtf8(rest)) return DetectedEncoding::Utf8;

  const auto* data = reinterpret_cast<const std::uint8_t*>(rest.data());
  const ReadingCounts sjis = CountShiftJis(data, rest.size());
  const ReadingCounts euc = CountEucJp(data, rest.size());
  const bool eucWins = euc.invalid != sjis.invalid ? euc.invalid < sjis.invalid : euc.japanese > sjis.japanese;
  return eucWins ? DetectedEncoding::EucJp : DetectedEncoding::ShiftJis;
}

std::string_view DetectedEncodingName(DetectedEncoding encoding) {
  switch (encoding) {
    case DetectedEncoding::Ascii: return "ASCII";
    case DetectedEncoding::ShiftJis: return "SJIS-JP";
    case DetectedEncoding::EucJp: return "EUC-JP";
    case DetectedEncoding::Utf8: return "UTF-8";
  }
  return {};
}

}  // namespace quillmark::engine
