#include "platform/code_page.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/cp932_converter.h"

namespace quillmark::platform {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// What Windows makes of a byte that begins no character of the system's CP932
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

// The five bytes DecodeUnmappedByte gives meanings to are no characters of
// the converter's table, so they are mapped back here.
std::optional<char> WindowsByte(char32_t codePoint) {
  switch (codePoint) {
    case 0x0080: return static_cast<char>(0x80);
    case 0xF8F0: return static_cast<char>(0xA0);
    case 0xF8F1: return static_cast<char>(0xFD);
    case 0xF8F2: return static_cast<char>(0xFE);
    case 0xF8F3: return static_cast<char>(0xFF);
    default: return std::nullopt;
  }
}

// Every character of the system's CP932 table, asked once, so that
// decoding costs a lookup per character rather than a call into the
// system: a single byte, or a lead byte and its trail, each to at most
// three bytes of UTF-8. The table has no state, so a character decodes
// alike wherever it stands.
class Cp932DecodeTable {
 public:
  Cp932DecodeTable() {
    Cp932Converter converter;
    if (!converter.Usable()) return;
    usable_ = true;
    pairs_.reserve(64 * 256);
    std::uint8_t rows = 0;
    std::string utf8;
    for (unsigned b = 0; b < 256; ++b) {
      const char single[1] = {static_cast<char>(b)};
      const Cp932Answer answer = converter.Decode(std::string_view(single, 1), utf8);
      if (answer == Cp932Answer::kCharacter && !Store(utf8, singles_[b])) usable_ = false;
      // ASCII is copied as it is without a lookup, so the system must agree.
      if (b < 0x80 && (answer != Cp932Answer::kCharacter || utf8 != std::string_view(single, 1))) usable_ = false;
      if (answer != Cp932Answer::kLeadByte) continue;
      rowOf_[b] = ++rows;
      pairs_.resize(std::size_t{rows} * 256);
      // CP932 pairs a lead byte only with its trail bytes; the test suite
      // holds the system to that over every trail.
      for (unsigned t = 0; t < 256; ++t) {
        if (!IsShiftJisTrailByte(static_cast<unsigned char>(t))) continue;
        const char pair[2] = {static_cast<char>(b), static_cast<char>(t)};
        if (converter.Decode(std::string_view(pair, 2), utf8) == Cp932Answer::kCharacter &&
            !Store(utf8, pairs_[(rows - 1u) * 256u + t]))
          usable_ = false;
      }
    }
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

  static bool Store(const std::string& utf8, Entry& entry) {
    if (utf8.empty() || utf8.size() > sizeof entry.utf8) return false;
    std::memcpy(entry.utf8, utf8.data(), utf8.size());
    entry.length = static_cast<std::uint8_t>(utf8.size());
    return true;
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

// The CP932 bytes of every BMP code point above U+007F, asked of the
// system once: a single byte b as b, a pair as lead * 256 + trail (above
// 0x8140, so never taken for a single byte), 0 for none.
class Cp932EncodeTable {
 public:
  Cp932EncodeTable() {
    Cp932Converter converter;
    if (!converter.Usable()) return;
    std::string bytes;
    for (char32_t c = 0x80; c <= 0xFFFF; ++c) {
      if (c >= 0xD800 && c <= 0xDFFF) continue;
      if (!converter.Encode(c, bytes)) continue;
      const auto first = static_cast<unsigned char>(bytes[0]);
      codes_[c] = static_cast<std::uint16_t>(bytes.size() == 1 ? first
                                                               : first * 256u + static_cast<unsigned char>(bytes[1]));
    }
  }

  std::uint16_t CodeOf(char32_t c) const { return c <= 0xFFFF ? codes_[c] : 0; }

  // Written as a two-byte character or as a half-width katakana byte.
  bool IsJapanese(char32_t c) const {
    const std::uint16_t code = CodeOf(c);
    return code > 0xFF || (code != 0 && IsHalfWidthKatakanaByte(static_cast<unsigned char>(code)));
  }

 private:
  std::array<std::uint16_t, 0x10000> codes_{};
};

const Cp932EncodeTable& EncodeTable() {
  static const Cp932EncodeTable table;
  return table;
}

// Without the system's table only ASCII can be read.
bool AppendAsciiOnly(std::string_view bytes, std::string& out, bool strict) {
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) < 0x80) out += c;
    else if (strict) return false;
    else out += kReplacement;
  }
  return true;
}

}  // namespace

bool IsCp932Japanese(char32_t codePoint) {
  // CP932 has nothing outside the BMP.
  return EncodeTable().IsJapanese(codePoint);
}

std::string Cp932ToUtf8(std::string_view bytes) {
  std::string out;
  AppendCp932ToUtf8(bytes, out);
  return out;
}

void AppendCp932ToUtf8(std::string_view bytes, std::string& out) {
  const Cp932DecodeTable& table = DecodeTable();
  if (table.Usable()) table.Append(bytes, out, DecodeUnmappedByte);
  else AppendAsciiOnly(bytes, out, false);
}

bool AppendCp932AsUtf8(std::string_view bytes, std::string& out) {
  const Cp932DecodeTable& table = DecodeTable();
  if (!table.Usable()) return AppendAsciiOnly(bytes, out, true);
  return table.Append(bytes, out, nullptr);
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
  const Cp932EncodeTable& table = EncodeTable();
  std::string result;
  const auto* data = reinterpret_cast<const unsigned char*>(utf8.data());
  for (std::size_t i = 0; i < utf8.size();) {
    if (data[i] < 0x80) {
      result += static_cast<char>(data[i++]);
      continue;
    }
    const std::size_t length = Utf8SequenceLength(data[i]);
    char32_t c = 0;
    if (length == 0 || i + length > utf8.size() || !DecodeUtf8Sequence(data + i, length, c)) return std::nullopt;
    i += length;
    if (const std::optional<char> windowsByte = WindowsByte(c)) {
      result += *windowsByte;
      continue;
    }
    const std::uint16_t code = table.CodeOf(c);
    if (code == 0) return std::nullopt;
    if (code > 0xFF) result += static_cast<char>(code >> 8);
    result += static_cast<char>(code & 0xFF);
  }
  return result;
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
