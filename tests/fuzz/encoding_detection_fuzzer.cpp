// DetectEncoding against a slow model taken word for word from its rules:
// code points decoded one by one and checked for their shortest form, and
// each Japanese reading counted by a walk of its own. Also: ASCII put in
// front of a file, wherever the wide steps then fall, changes nothing.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/encoding_detection.h"
#include "tests/fuzz/fuzz_check.h"

namespace quillmark::fuzz {
namespace {

using engine::DetectedEncoding;
using Bytes = std::vector<unsigned>;

bool Between(unsigned value, unsigned first, unsigned last) { return first <= value && value <= last; }

// How many bytes the shortest UTF-8 form of a code point takes.
std::size_t ShortestLength(std::uint32_t codePoint) {
  if (codePoint < 0x80) return 1;
  if (codePoint < 0x800) return 2;
  if (codePoint < 0x10000) return 3;
  return 4;
}

bool IsUtf8(const Bytes& bytes) {
  std::size_t i = 0;
  if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) i = 3;
  while (i < bytes.size()) {
    // The count of leading one bits gives the sequence length.
    std::size_t ones = 0;
    while (ones < 8 && (bytes[i] & (0x80u >> ones)) != 0) ++ones;
    if (ones == 1 || ones > 4) return false;
    const std::size_t length = ones == 0 ? 1 : ones;
    if (i + length > bytes.size()) return false;
    std::uint32_t codePoint = bytes[i] & (0xFFu >> (ones + 1));
    for (std::size_t k = 1; k < length; ++k) {
      if ((bytes[i + k] >> 6) != 2) return false;
      codePoint = codePoint * 64 + (bytes[i + k] & 63);
    }
    if (ShortestLength(codePoint) != length) return false;
    if (Between(codePoint, 0xD800, 0xDFFF) || codePoint > 0x10FFFF) return false;
    i += length;
  }
  return true;
}

struct Counts {
  std::size_t invalid = 0;
  std::size_t japanese = 0;
};

struct CodeRange {
  unsigned first, last;
};
constexpr CodeRange kSjisJapanese[] = {{0x8140, 0x81AC}, {0x829F, 0x82F1}, {0x8340, 0x8396}, {0x889F, 0x9872}};
constexpr CodeRange kEucJapanese[] = {{0xA1A1, 0xA2AE}, {0xA4A1, 0xA4F3}, {0xA5A1, 0xA5F6}, {0xB0A1, 0xCFD3}};

template <std::size_t N>
bool InAny(unsigned code, const CodeRange (&ranges)[N]) {
  for (const CodeRange& r : ranges)
    if (Between(code, r.first, r.last)) return true;
  return false;
}

Counts CountShiftJis(const Bytes& b) {
  Counts counts;
  std::size_t i = 0;
  while (i < b.size()) {
    const bool lead = Between(b[i], 0x81, 0x9F) || Between(b[i], 0xE0, 0xFC);
    const bool trailFollows = i + 1 < b.size() && (Between(b[i + 1], 0x40, 0x7E) || Between(b[i + 1], 0x80, 0xFC));
    if (b[i] < 0x80 || Between(b[i], 0xA1, 0xDF)) {
      i += 1;
    } else if (lead && trailFollows) {
      if (InAny(b[i] * 256 + b[i + 1], kSjisJapanese)) ++counts.japanese;
      i += 2;
    } else {
      ++counts.invalid;
      i += 1;
    }
  }
  return counts;
}

Counts CountEucJp(const Bytes& b) {
  Counts counts;
  std::size_t i = 0;
  auto at = [&](std::size_t k) { return i + k < b.size() ? b[i + k] : 0x100u; };  // 0x100: past the end
  while (i < b.size()) {
    if (b[i] < 0x80) {
      i += 1;
    } else if (Between(b[i], 0xA1, 0xFE) && Between(at(1), 0xA1, 0xFE)) {
      if (InAny(b[i] * 256 + at(1), kEucJapanese)) ++counts.japanese;
      i += 2;
    } else if (b[i] == 0x8E && Between(at(1), 0xA1, 0xDF)) {
      i += 2;
    } else if (b[i] == 0x8F && Between(at(1), 0xA1, 0xFE) && Between(at(2), 0xA1, 0xFE)) {
      i += 3;
    } else {
      ++counts.invalid;
      i += 1;
    }
  }
  return counts;
}

DetectedEncoding ModelDetect(const Bytes& bytes) {
  bool anyHigh = false;
  for (const unsigned b : bytes) anyHigh = anyHigh || b >= 0x80;
  if (!anyHigh) return DetectedEncoding::Ascii;
  if (IsUtf8(bytes)) return DetectedEncoding::Utf8;
  const Counts sjis = CountShiftJis(bytes);
  const Counts euc = CountEucJp(bytes);
  if (sjis.invalid < euc.invalid) return DetectedEncoding::ShiftJis;
  if (euc.invalid < sjis.invalid) return DetectedEncoding::EucJp;
  if (euc.japanese > sjis.japanese) return DetectedEncoding::EucJp;
  return DetectedEncoding::ShiftJis;
}

void CheckSame(DetectedEncoding got, DetectedEncoding want, const std::string& input, const char* what) {
  if (got == want) return;
  Check(false, std::string(what) + ": got " + std::string(engine::DetectedEncodingName(got)) + ", model says " +
                   std::string(engine::DetectedEncodingName(want)) + " for \"" + Escaped(input) + "\"");
}

}  // namespace
}  // namespace quillmark::fuzz

namespace quillmark::fuzz {

// Bytes in pieces of one size, the last one shorter.
class Pieces final : public engine::ByteChunks {
 public:
  Pieces(std::string_view bytes, std::size_t size) : bytes_(bytes), size_(size) {}
  bool Next(std::string_view& chunk) override {
    if (start_ >= bytes_.size()) return false;
    chunk = bytes_.substr(start_, size_);
    start_ += chunk.size();
    return true;
  }
  bool Restart() override {
    start_ = 0;
    return true;
  }

 private:
  std::string_view bytes_;
  std::size_t size_;
  std::size_t start_ = 0;
};

}  // namespace quillmark::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillmark;
  // The detection reads libFuzzer's own buffer, so that a read past its end
  // is reported.
  const std::string_view view(reinterpret_cast<const char*>(data), size);
  const std::string input(view);
  const engine::DetectedEncoding got = engine::DetectEncoding(view);
  fuzz::CheckSame(got, fuzz::ModelDetect(fuzz::Bytes(data, data + size)), input, "the detection equals the model");

  const std::string shifted = std::string(size % 17 + 1, ' ') + input;
  fuzz::CheckSame(engine::DetectEncoding(shifted), got, input, "an ASCII prefix changes nothing");

  // Read in pieces of a size the input picks, as a file is read.
  fuzz::Pieces pieces(view, size == 0 ? 1 : data[0] % 13 + 1);
  fuzz::CheckSame(engine::DetectEncoding(pieces), got, input, "pieces of any size change nothing");
  return 0;
}
