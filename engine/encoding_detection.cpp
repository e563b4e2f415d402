#include "engine/encoding_detection.h"

#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>

#include "engine/byte_class_table.h"
#include "platform/code_page.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillmark::engine {
namespace {

// Most files of a search are ASCII throughout, so the first byte from 0x80
// up is looked for sixty-four bytes a step where the processor allows, and
// sixteen elsewhere. Returns bytes.size() when none.
std::size_t FindFirstHighByte(std::string_view bytes) {
  constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
  const char* data = bytes.data();
  const std::size_t n = bytes.size();
  std::size_t i = 0;
#if defined(__SSE2__)
  const auto load = [data](std::size_t at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at)); };
  for (; i + 64 <= n; i += 64) {
    const __m128i any = _mm_or_si128(_mm_or_si128(load(i), load(i + 16)), _mm_or_si128(load(i + 32), load(i + 48)));
    if (_mm_movemask_epi8(any) != 0) break;
  }
#endif
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

// The bytes as code_page reads them, as tables for the counting loops.
constexpr ByteClassTable kSjisSingle =
    MakeByteClassTable([](unsigned char b) { return b < 0x80 || platform::IsHalfWidthKatakanaByte(b); });
constexpr ByteClassTable kSjisLead = MakeByteClassTable(platform::IsShiftJisLeadByte);
constexpr ByteClassTable kSjisTrail = MakeByteClassTable(platform::IsShiftJisTrailByte);
constexpr ByteClassTable kEucRowByte = MakeByteClassTable(platform::IsEucJpRowByte);
constexpr ByteClassTable kEucKana = MakeByteClassTable(platform::IsHalfWidthKatakanaByte);
constexpr unsigned kEucKanaPrefix = platform::kEucJpKanaPrefix;
constexpr unsigned kEucThreeBytePrefix = platform::kEucJpThreeBytePrefix;

// A set of two-byte codes (first byte x 256 + second), one bit each, so
// that the counting loops test a code with one load.
struct CodeSet {
  std::uint64_t bits[1024] = {};
  constexpr unsigned Contains(unsigned code) const { return static_cast<unsigned>(bits[code >> 6] >> (code & 63)) & 1u; }
};

constexpr CodeSet MakeCodeSet(std::initializer_list<std::pair<unsigned, unsigned>> inclusiveRanges) {
  CodeSet set;
  for (auto [first, last] : inclusiveRanges)
    for (unsigned code = first; code <= last; ++code) set.bits[code >> 6] |= std::uint64_t{1} << (code & 63);
  return set;
}

// Symbols, hiragana, katakana and the first-level kanji.
constexpr CodeSet kSjisJapaneseText = MakeCodeSet({{0x8140, 0x81AC}, {0x829F, 0x82F1}, {0x8340, 0x8396}, {0x889F, 0x9872}});
constexpr CodeSet kEucJapaneseText = MakeCodeSet({{0xA1A1, 0xA2AE}, {0xA4A1, 0xA4F3}, {0xA5A1, 0xA5F6}, {0xB0A1, 0xCFD3}});

constexpr unsigned IsSjisJapaneseText(unsigned code) { return kSjisJapaneseText.Contains(code); }
constexpr unsigned IsEucJapaneseText(unsigned code) { return kEucJapaneseText.Contains(code); }

// The Shift_JIS reading from `i` on, byte by byte with every bound checked.
void CountShiftJisFrom(const std::uint8_t* bytes, std::size_t i, std::size_t n, ReadingCounts& counts) {
  while (i < n) {
    const std::uint8_t b = bytes[i];
    if (b < 0x80) {
      ++i;
    } else if (kSjisSingle[b]) {
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
}

// The EUC-JP reading from `i` on, byte by byte with every bound checked.
void CountEucJpFrom(const std::uint8_t* bytes, std::size_t i, std::size_t n, ReadingCounts& counts) {
  while (i < n) {
    const std::uint8_t b = bytes[i];
    if (b < 0x80) {
      ++i;
    } else if (kEucRowByte[b] && i + 1 < n && kEucRowByte[bytes[i + 1]]) {
      counts.japanese += IsEucJapaneseText(b * 256u + bytes[i + 1]);
      i += 2;
    } else if (b == kEucKanaPrefix && i + 1 < n && kEucKana[bytes[i + 1]]) {
      i += 2;
    } else if (b == kEucThreeBytePrefix && i + 2 < n && kEucRowByte[bytes[i + 1]] && kEucRowByte[bytes[i + 2]]) {
      i += 3;
    } else {
      ++counts.invalid;
      ++i;
    }
  }
}

// Japanese text mixes one- and two-byte characters in no order a branch
// could predict, so the bulk of each reading is counted without branches
// on the bytes, eight ASCII bytes at a time where they come in runs; the
// last bytes go through the checked loop.
constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

bool HasNoHighByte(const std::uint8_t* bytes) {
  std::uint64_t word;
  std::memcpy(&word, bytes, sizeof word);
  return (word & kHighBits) == 0;
}

constexpr unsigned Bit(bool value) { return value ? 1u : 0u; }

// One step of the Shift_JIS reading at `i`, where eight bytes are left.
[[gnu::always_inline]] inline std::size_t StepShiftJis(const std::uint8_t* bytes, std::size_t i, ReadingCounts& counts) {
  if (HasNoHighByte(bytes + i)) return i + 8;
  const unsigned b = bytes[i];
  const unsigned t = bytes[i + 1];
  const unsigned pair = Bit(kSjisLead[b]) & Bit(kSjisTrail[t]);
  counts.invalid += !(Bit(kSjisSingle[b]) | pair);
  counts.japanese += pair & IsSjisJapaneseText(b << 8 | t);
  return i + 1 + pair;
}

// One step of the EUC-JP reading at `i`, where eight bytes are left.
[[gnu::always_inline]] inline std::size_t StepEucJp(const std::uint8_t* bytes, std::size_t i, ReadingCounts& counts) {
  if (HasNoHighByte(bytes + i)) return i + 8;
  const unsigned b = bytes[i];
  const unsigned t = bytes[i + 1];
  const unsigned row = Bit(kEucRowByte[b]) & Bit(kEucRowByte[t]);
  const unsigned kana = Bit(b == kEucKanaPrefix) & Bit(kEucKana[t]);
  const unsigned three = Bit(b == kEucThreeBytePrefix) & Bit(kEucRowByte[t]) & Bit(kEucRowByte[bytes[i + 2]]);
  counts.invalid += !(Bit(b < 0x80) | row | kana | three);
  counts.japanese += row & IsEucJapaneseText(b << 8 | t);
  return i + 1 + (row | kana) + 2 * three;
}

// The Shift_JIS and EUC-JP readings of bytes that come in pieces. Each
// reading's next step waits on its last one only, so the two are taken in
// turn and the processor overlaps them. What a step cannot see whole yet
// (at most eight bytes) waits for the next piece.
class JapaneseReadings {
 public:
  void Add(std::string_view chunk) {
    pending_.append(chunk);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(pending_.data());
    const std::size_t n = pending_.size();
    while (i_ + 8 <= n && j_ + 8 <= n) {
      i_ = StepShiftJis(bytes, i_, sjis_);
      j_ = StepEucJp(bytes, j_, euc_);
    }
    while (i_ + 8 <= n) i_ = StepShiftJis(bytes, i_, sjis_);
    while (j_ + 8 <= n) j_ = StepEucJp(bytes, j_, euc_);
    const std::size_t done = std::min(i_, j_);
    pending_.erase(0, done);
    i_ -= done;
    j_ -= done;
  }

  // Fewer invalid bytes wins, then more Japanese text, then Shift_JIS.
  DetectedEncoding Choose() {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(pending_.data());
    CountShiftJisFrom(bytes, i_, pending_.size(), sjis_);
    CountEucJpFrom(bytes, j_, pending_.size(), euc_);
    const bool eucWins =
        euc_.invalid != sjis_.invalid ? euc_.invalid < sjis_.invalid : euc_.japanese > sjis_.japanese;
    return eucWins ? DetectedEncoding::EucJp : DetectedEncoding::ShiftJis;
  }

 private:
  std::string pending_;
  std::size_t i_ = 0;  // the Shift_JIS reading's next character in pending_
  std::size_t j_ = 0;  // the EUC-JP reading's
  ReadingCounts sjis_;
  ReadingCounts euc_;
};

using platform::Utf8SequenceLength;

// Whether bytes that come in pieces are strict UTF-8, and whether any is
// from 0x80 up. A sequence cut by a piece's end waits for the next piece.
class Utf8Check {
 public:
  void Add(std::string_view chunk) {
    if (!sawHighByte_) {
      if (FindFirstHighByte(chunk) == chunk.size()) return;
      sawHighByte_ = true;
    }
    if (!valid_) return;
    if (!pending_.empty()) {
      const std::size_t wanted = Utf8SequenceLength(static_cast<std::uint8_t>(pending_[0])) - pending_.size();
      const std::size_t taken = std::min(wanted, chunk.size());
      pending_.append(chunk.substr(0, taken));
      chunk.remove_prefix(taken);
      if (taken < wanted) return;
      valid_ = platform::IsValidUtf8(pending_);
      pending_.clear();
      if (!valid_) return;
    }
    const std::size_t cut = IncompleteTail(chunk);
    valid_ = platform::IsValidUtf8(chunk.substr(0, cut));
    pending_.assign(chunk.substr(cut));
  }

  bool SawHighByte() const { return sawHighByte_; }
  // A sequence still open at the end is cut short.
  bool IsValid() const { return valid_ && pending_.empty(); }

 private:
  // Where a sequence that the piece's end cuts short begins; the size when
  // none is.
  static std::size_t IncompleteTail(std::string_view chunk) {
    for (std::size_t back = 1; back <= 3 && back <= chunk.size(); ++back) {
      const auto b = static_cast<std::uint8_t>(chunk[chunk.size() - back]);
      if (b < 0x80) break;
      if (b >= 0xC0) return Utf8SequenceLength(b) > back ? chunk.size() - back : chunk.size();
    }
    return chunk.size();
  }

  bool sawHighByte_ = false;
  bool valid_ = true;
  std::string pending_;
};

// The whole of some bytes as a single piece.
class OneChunk final : public ByteChunks {
 public:
  explicit OneChunk(std::string_view bytes) : bytes_(bytes) {}
  bool Next(std::string_view& chunk) override {
    if (given_ || bytes_.empty()) return false;
    given_ = true;
    chunk = bytes_;
    return true;
  }
  bool Restart() override {
    given_ = false;
    return true;
  }

 private:
  std::string_view bytes_;
  bool given_ = false;
};

}  // namespace

DetectedEncoding DetectEncoding(std::string_view bytes) {
  OneChunk chunks(bytes);
  return DetectEncoding(chunks);
}

DetectedEncoding DetectEncoding(ByteChunks& chunks) {
  // A byte-order mark is itself valid UTF-8 and needs no special case.
  Utf8Check utf8;
  std::string_view chunk;
  while (chunks.Next(chunk)) utf8.Add(chunk);
  if (!utf8.SawHighByte()) return DetectedEncoding::Ascii;
  if (utf8.IsValid()) return DetectedEncoding::Utf8;

  // ASCII bytes are single characters in both readings and count for
  // neither, so counting from the start equals counting from the first
  // byte from 0x80 up.
  if (!chunks.Restart()) return DetectedEncoding::ShiftJis;
  JapaneseReadings readings;
  while (chunks.Next(chunk)) readings.Add(chunk);
  return readings.Choose();
}

std::string_view DetectedEncodingName(DetectedEncoding encoding) {
  switch (encoding) {
    case DetectedEncoding::Ascii: return platform::kAsciiName;
    case DetectedEncoding::ShiftJis: return platform::kShiftJisNames.shown;
    case DetectedEncoding::EucJp: return platform::kEucJpNames.shown;
    case DetectedEncoding::Utf8: return platform::kUtf8Names.shown;
  }
  return {};
}

}  // namespace quillmark::engine
