#include "platform/code_page.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

namespace quillmark::platform {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// What Windows makes of a byte that begins no character of iconv's CP932
// table: five single bytes have a meaning of their own there, any other
// such byte (a lead byte without a trail it pairs with) is replaced.
std::string_view DecodeUnmappedByte(unsigned char b) {
  switch (b) {
    case 0x80: return "\xC2\x80";      // U+0080
    case 0xA0: return "\xEF\xA3\xB0";  // U+F8F0
    case 0xFD: return "\xEF\xA3\xB1";  // U+F8F1
    case 0xFE: return "\xEF\xA3\xB2";  // U+F8F2
    case 0xFF: return "\xEF\xA3\xB3";  // U+F8F3
    default: return kReplacement;
  }
}

// One converter per thread: opening iconv per call would dominate the
// cost of converting short texts.
class Cp932Decoder {
 public:
  Cp932Decoder() : cd_(iconv_open("UTF-8", "CP932")) {}
  ~Cp932Decoder() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Cp932Decoder(const Cp932Decoder&) = delete;
  Cp932Decoder& operator=(const Cp932Decoder&) = delete;

  std::string Decode(std::string_view bytes) {
    std::string result;
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return DecodeAsciiOnly(bytes);
    Append(bytes, result, false);
    return result;
  }

  // False, with `result` cut short, at the first byte iconv's table has no
  // character for.
  bool DecodeStrictly(std::string_view bytes, std::string& result) {
    return cd_ != reinterpret_cast<iconv_t>(-1) && Append(bytes, result, true);
  }

 private:
  bool Append(std::string_view bytes, std::string& result, bool strict) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char chunk[1024];
    while (inLeft > 0) {
      char* out = chunk;
      std::size_t outLeft = sizeof chunk;
      std::size_t rc = iconv(cd_, &in, &inLeft, &out, &outLeft);
      result.append(chunk, static_cast<std::size_t>(out - chunk));
      if (rc != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
      if (strict) return false;
      // EILSEQ or EINVAL: the byte at `in` begins no character. Only that
      // byte goes, so that a refused pair's second byte (often ASCII such
      // as a quote or a line end) is decoded on its own.
      result += DecodeUnmappedByte(static_cast<unsigned char>(*in));
      ++in;
      --inLeft;
    }
    return true;
  }

  static std::string DecodeAsciiOnly(std::string_view bytes) {
    std::string result;
    for (char c : bytes) {
      if (static_cast<unsigned char>(c) < 0x80) result += c;
      else result += kReplacement;
    }
    return result;
  }

  iconv_t cd_;
};

Cp932Decoder& ThreadDecoder() {
  thread_local Cp932Decoder decoder;
  return decoder;
}

// The five bytes DecodeUnmappedByte gives meanings to are not in iconv's
// table, so they are mapped back here.
std::optional<char> WindowsByte(std::string_view rest) {
  for (const unsigned char b : {0x80, 0xA0, 0xFD, 0xFE, 0xFF}) {
    if (rest.starts_with(DecodeUnmappedByte(b))) return static_cast<char>(b);
  }
  return std::nullopt;
}

// One converter per thread, as for decoding.
class Cp932Encoder {
 public:
  Cp932Encoder() : cd_(iconv_open("CP932", "UTF-8")) {}
  ~Cp932Encoder() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Cp932Encoder(const Cp932Encoder&) = delete;
  Cp932Encoder& operator=(const Cp932Encoder&) = delete;

  std::optional<std::string> Encode(std::string_view utf8) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string result;
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char chunk[1024];
    while (inLeft > 0) {
      char* out = chunk;
      std::size_t outLeft = sizeof chunk;
      const std::size_t rc = iconv(cd_, &in, &inLeft, &out, &outLeft);
      result.append(chunk, static_cast<std::size_t>(out - chunk));
      if (rc != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
      const std::optional<char> windowsByte = WindowsByte(std::string_view(in, inLeft));
      if (!windowsByte) return std::nullopt;
      result += *windowsByte;
      const std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(*in));
      in += length;
      inLeft -= length;
    }
    return result;
  }

 private:
  iconv_t cd_;
};

// Every character of iconv's CP932 table, asked of iconv once, so that
// decoding costs a lookup per character rather than a call into iconv: a
// single byte, or a lead byte and its trail, each to at most three bytes of
// UTF-8. iconv decodes CP932 without state, so a character decodes alike
// wherever it stands.
class Cp932DecodeTable {
 public:
  Cp932DecodeTable() {
    const iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) return;
    usable_ = true;
    pairs_.reserve(64 * 256);
    std::uint8_t rows = 0;
    for (unsigned b = 0; b < 256 && usable_; ++b) {
      const char single[1] = {static_cast<char>(b)};
      const Ask asked = AskIconv(cd, std::string_view(single, 1), singles_[b]);
      // ASCII is copied as it is without a lookup, so iconv must agree.
      if (asked == Ask::TooLong || (b < 0x80 && (singles_[b].length != 1 || singles_[b].utf8[0] != single[0])))
        usable_ = false;
      if (asked != Ask::Incomplete) continue;
      // A lead byte: iconv waits for its trail.
      rowOf_[b] = ++rows;
      pairs_.resize(std::size_t{rows} * 256);
      // CP932 pairs a lead byte only with its trail bytes; the test suite
      // holds iconv to that over every trail.
      for (unsigned t = 0; t < 256; ++t) {
        if (!IsShiftJisTrailByte(static_cast<unsigned char>(t))) continue;
        const char pair[2] = {static_cast<char>(b), static_cast<char>(t)};
        if (AskIconv(cd, std::string_view(pair, 2), pairs_[(rows - 1u) * 256u + t]) == Ask::TooLong) usable_ = false;
      }
    }
    iconv_close(cd);
  }

  bool Usable() const { return usable_; }

  // Appends the decoding of `bytes`; at a byte that begins no character,
  // appends what `unmapped` gives for it and goes on at the next byte, or
  // stops with false when `unmapped` is null.
  bool Append(std::string_view bytes, std::string& out, std::string_view (*unmapped)(unsigned char)) const {
    // Written through a pointer into room made first: no character takes
    // more than three bytes of UTF-8, nor does a replacement.
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    const std::size_t start = out.size();
    out.resize(start + 3 * n);
    char* const begin = out.data();
    char* to = begin + start;
    bool complete = true;
    std::size_t i = 0;
    while (i < n) {
      const unsigned char b = data[i];
      if (b < 0x80) {
        *to++ = static_cast<char>(b);
        ++i;
        continue;
      }
      const Entry* entry = &singles_[b];
      std::size_t length = 1;
      if (rowOf_[b] != 0 && i + 1 < n) {
        entry = &pairs_[(rowOf_[b] - 1u) * 256u + data[i + 1]];
        length = 2;
      }
      if (entry->length == 0) {
        if (unmapped == nullptr) {
          complete = false;
          break;
        }
        const std::string_view replacement = unmapped(b);
        std::memcpy(to, replacement.data(), replacement.size());
        to += replacement.size();
        ++i;
        continue;
      }
      std::memcpy(to, entry->utf8, sizeof entry->utf8);  // all three; the rest is overwritten or cut
      to += entry->length;
      i += length;
    }
    out.resize(static_cast<std::size_t>(to - begin));
    return complete;
  }

 private:
  struct Entry {
    char utf8[3] = {};
    std::uint8_t length = 0;  // 0: no character
  };
  enum class Ask { Decoded, Refused, Incomplete, TooLong };

  // Whether iconv decodes `bytes` as exactly one character, and to what.
  static Ask AskIconv(iconv_t cd, std::string_view bytes, Entry& entry) {
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char utf8[8];
    char* out = utf8;
    std::size_t outLeft = sizeof utf8;
    const std::size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
    if (rc == static_cast<std::size_t>(-1)) {
      const Ask answer = errno == EINVAL ? Ask::Incomplete : Ask::Refused;
      // The decoder keeps no state between characters; after a refusal it
      // is put back to its start all the same.
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      return answer;
    }
    const auto written = static_cast<std::size_t>(out - utf8);
    // Two single bytes are no pair; the table holds pairs only.
    if (bytes.size() == 2 && (written == 0 || IsOneCharacter(utf8, written) == false)) return Ask::Refused;
    if (written == 0 || written > sizeof entry.utf8) return Ask::TooLong;
    std::memcpy(entry.utf8, utf8, written);
    entry.length = static_cast<std::uint8_t>(written);
    return Ask::Decoded;
  }

  static bool IsOneCharacter(const char* utf8, std::size_t length) {
    std::size_t characters = 0;
    for (std::size_t k = 0; k < length; ++k) characters += (static_cast<unsigned char>(utf8[k]) & 0xC0) != 0x80;
    return characters == 1;
  }

  bool usable_ = false;
  std::array<Entry, 256> singles_{};
  std::array<std::uint8_t, 256> rowOf_{};  // 0, or 1 + a lead byte's row of pairs_
  std::vector<Entry> pairs_;
};

const Cp932DecodeTable& DecodeTable() {
  static const Cp932DecodeTable table;
  return table;
}

// One bit per BMP code point: does CP932 write it as a two-byte character
// or as a half-width katakana byte? Built from iconv's own table once, so
// that the answer agrees with Cp932ToUtf8 and costs a load per query.
class Cp932JapaneseTable {
 public:
  Cp932JapaneseTable() {
    const iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return;
    for (char32_t c = 0x80; c <= 0xFFFF; ++c) {
      if (c >= 0xD800 && c <= 0xDFFF) continue;
      std::string utf8;
      AppendUtf8(c, utf8);
      char* in = utf8.data();
      std::size_t inLeft = utf8.size();
      char encoded[8];
      char* out = encoded;
      std::size_t outLeft = sizeof encoded;
      // The encoder keeps no state, and a refused code point leaves
      // nothing behind: no reset between code points.
      if (iconv(cd, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) continue;
      const auto written = static_cast<std::size_t>(out - encoded);
      const bool katakana = written == 1 && IsHalfWidthKatakanaByte(static_cast<unsigned char>(encoded[0]));
      if (written == 2 || katakana)
        bits_[c >> 6] |= std::uint64_t{1} << (c & 63);
    }
    iconv_close(cd);
  }

  bool Has(char32_t c) const { return (bits_[c >> 6] >> (c & 63)) & 1; }

 private:
  std::array<std::uint64_t, 0x10000 / 64> bits_{};
};

}  // namespace

bool IsCp932Japanese(char32_t codePoint) {
  // CP932 has nothing outside the BMP: glibc's iconv refuses every astral
  // code point but the language tags E0000-E007F, which it drops (zero
  // bytes). Measured over all of them, so no converter is needed here.
  if (codePoint > 0xFFFF) return false;
  static const Cp932JapaneseTable table;
  return table.Has(codePoint);
}

std::string Cp932ToUtf8(std::string_view bytes) {
  std::string out;
  AppendCp932ToUtf8(bytes, out);
  return out;
}

void AppendCp932ToUtf8(std::string_view bytes, std::string& out) {
  const Cp932DecodeTable& table = DecodeTable();
  if (table.Usable()) table.Append(bytes, out, DecodeUnmappedByte);
  else out += ThreadDecoder().Decode(bytes);
}

bool AppendCp932AsUtf8(std::string_view bytes, std::string& out) {
  const Cp932DecodeTable& table = DecodeTable();
  if (!table.Usable()) return ThreadDecoder().DecodeStrictly(bytes, out);
  return table.Append(bytes, out, nullptr);
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
  thread_local Cp932Encoder encoder;
  return encoder.Encode(utf8);
}

void EucJpToShiftJis(std::string_view euc, std::string& out) {
  // The result is never longer than the text.
  out.resize(euc.size());
  const auto* in = reinterpret_cast<const std::uint8_t*>(euc.data());
  auto* write = reinterpret_cast<std::uint8_t*>(out.data());
  const std::size_t n = euc.size();
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t b = in[i];
    if (!IsEucJpLeadByte(b) || i + 1 == n) {
      *write++ = b;
      continue;
    }
    const std::uint8_t t = in[++i];
    if (b == kEucJpKanaPrefix) {
      *write++ = t;
      continue;
    }
    // Odd rows: t - 0x61, or t - 0x60 where that is above 0x7E; even
    // rows: t - 2. Written without branches, which Japanese text defeats.
    const auto odd = static_cast<std::uint8_t>(t - 0x61);
    const auto oddTrail = static_cast<std::uint8_t>(odd + (odd > 0x7E ? 1 : 0));
    const auto t2 = (b & 1) ? oddTrail : static_cast<std::uint8_t>(t - 2);
    const auto h = static_cast<std::uint8_t>((b + 1) >> 1);
    *write++ = static_cast<std::uint8_t>(b < 0xDF ? h + 0x30 : h + 0x70);
    *write++ = t2;
  }
  out.resize(static_cast<std::size_t>(write - reinterpret_cast<std::uint8_t*>(out.data())));
}

bool IsWellFormedEucJp(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) continue;
    if (i + 1 == bytes.size()) return false;
    const auto t = static_cast<unsigned char>(bytes[++i]);
    if (b == kEucJpKanaPrefix ? !IsHalfWidthKatakanaByte(t) : !(IsEucJpRowByte(b) && IsEucJpRowByte(t))) return false;
  }
  return true;
}

std::string ToDisplayText(std::string_view bytes) {
  std::string out;
  AppendDisplayText(bytes, out);
  return out;
}

void AppendDisplayText(std::string_view bytes, std::string& out) {
  if (IsValidUtf8(bytes)) out.append(bytes);
  else AppendCp932ToUtf8(bytes, out);
}

void AppendUtf8(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool IsValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  const std::size_t n = bytes.size();
  while (i < n) {
    // Trace lines are mostly ASCII: eight bytes at a time while they are.
    while (i + 8 <= n) {
      std::uint64_t word;
      std::memcpy(&word, bytes.data() + i, sizeof word);
      if ((word & 0x8080808080808080ull) != 0) break;
      i += 8;
    }
    if (i >= n) break;
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    const std::size_t length = Utf8SequenceLength(b);
    char32_t codePoint;
    if (length == 0 || i + length > n ||
        !DecodeUtf8Sequence(reinterpret_cast<const unsigned char*>(bytes.data()) + i, length, codePoint))
      return false;
    i += length;
  }
  return true;
}

}  // namespace quillmark::platform
