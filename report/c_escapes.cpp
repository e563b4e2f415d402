#include "report/c_escapes.h"

#include <cstdint>

#include "engine/euc_encoding.h"
#include "engine/sjis_encoding.h"
#include "platform/code_page.h"

namespace quillmark::report {
namespace {

constexpr std::string_view kNul = "a NUL character";
constexpr std::string_view kNoCharacter = "a byte that is no character";
constexpr std::string_view kOutOfRange = "an escape beyond a byte or a code point";
constexpr std::string_view kNoDigits = "an escape missing its digits";
constexpr std::string_view kLoneBackslash = "a backslash escaping nothing";

// Bytes in the file's encoding to UTF-8, as the rest of the report reads
// them (EUC-JP through Shift_JIS), failing on any byte that is no character.
bool AppendAsUtf8(std::string_view bytes, engine::SourceEncoding encoding, std::string& out) {
  switch (encoding) {
    case engine::SourceEncoding::Utf8:
      if (!platform::IsValidUtf8(bytes)) return false;
      out += bytes;
      return true;
    case engine::SourceEncoding::ShiftJis:
      return platform::AppendCp932AsUtf8(bytes, out);
    case engine::SourceEncoding::EucJp: {
      if (!platform::IsWellFormedEucJp(bytes)) return false;
      std::string sjis;
      engine::EucEncoding().ToShiftJis(bytes, sjis);
      return platform::AppendCp932AsUtf8(sjis, out);
    }
  }
  return false;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<char> SimpleEscape(char c) {
  switch (c) {
    case 'n': return '\n';
    case 't': return '\t';
    case 'r': return '\r';
    case 'a': return '\a';
    case 'b': return '\b';
    case 'f': return '\f';
    case 'v': return '\v';
    default: return std::nullopt;
  }
}

class EscapeReader {
 public:
  EscapeReader(std::string_view content, engine::SourceEncoding encoding) : content_(content), encoding_(encoding) {}

  LiteralText Read() {
    while (i_ < content_.size() && problem_.empty()) {
      const char c = content_[i_];
      if (c == '\\') ReadEscape();
      else CopyCharacter();
    }
    if (problem_.empty() && !Flush()) problem_ = kNoCharacter;
    if (!problem_.empty()) return {std::nullopt, problem_};
    return {std::move(utf8_), {}};
  }

 private:
  std::size_t CharacterLength(std::size_t at) const {
    const auto b = static_cast<std::uint8_t>(content_[at]);
    bool lead = false;
    switch (encoding_) {
      case engine::SourceEncoding::ShiftJis: lead = engine::SjisEncoding().IsLeadByte(b); break;
      case engine::SourceEncoding::EucJp: lead = engine::EucEncoding().IsLeadByte(b); break;
      // No byte of a UTF-8 sequence is below 0x80: byte by byte is enough.
      case engine::SourceEncoding::Utf8: break;
    }
    return lead && at + 1 < content_.size() ? 2 : 1;
  }

  void CopyCharacter() {
    const std::size_t length = CharacterLength(i_);
    AddBytes(content_.substr(i_, length));
    i_ += length;
  }

  void AddBytes(std::string_view bytes) {
    if (bytes.find('\0') != std::string_view::npos) problem_ = kNul;
    pending_ += bytes;
  }

  // The bytes so far, in UTF-8: a \u escape's code point goes after them.
  bool Flush() {
    const bool ok = AppendAsUtf8(pending_, encoding_, utf8_);
    pending_.clear();
    return ok;
  }

  void ReadEscape() {
    ++i_;
    if (i_ == content_.size()) {
      problem_ = kLoneBackslash;
      return;
    }
    const char c = content_[i_];
    if (const std::optional<char> simple = SimpleEscape(c)) {
      AddBytes(std::string_view(&*simple, 1));
      ++i_;
    } else if (c >= '0' && c <= '7') {
      unsigned value = 0;
      for (int digits = 0; digits < 3 && i_ < content_.size() && content_[i_] >= '0' && content_[i_] <= '7'; ++digits)
        value = value * 8 + static_cast<unsigned>(content_[i_++] - '0');
      AddByte(value);
    } else if (c == 'x') {
      ++i_;
      const std::size_t start = i_;
      unsigned value = 0;
      for (; i_ < content_.size() && HexValue(content_[i_]) >= 0; ++i_)
        if (value <= 0xFF) value = value * 16 + static_cast<unsigned>(HexValue(content_[i_]));
      if (i_ == start) problem_ = kNoDigits;
      else AddByte(value);
    } else if (c == 'u' || c == 'U') {
      ReadUniversalName(c == 'u' ? 4 : 8);
    } else {
      // Not an escape C knows: the character stands for itself, as
      // compilers read it (with a warning).
      CopyCharacter();
    }
  }

  void AddByte(unsigned value) {
    if (value > 0xFF) {
      problem_ = kOutOfRange;
      return;
    }
    const char byte = static_cast<char>(value);
    AddBytes(std::string_view(&byte, 1));
  }

  void ReadUniversalName(int digits) {
    ++i_;
    char32_t value = 0;
    for (int k = 0; k < digits; ++k, ++i_) {
      if (i_ == content_.size() || HexValue(content_[i_]) < 0) {
        problem_ = kNoDigits;
        return;
      }
      value = value * 16 + static_cast<char32_t>(HexValue(content_[i_]));
    }
    if (value == 0) problem_ = kNul;
    else if (value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) problem_ = kOutOfRange;
    else if (!Flush()) problem_ = kNoCharacter;
    else platform::AppendUtf8(value, utf8_);
  }

  std::string_view content_;
  engine::SourceEncoding encoding_;
  std::size_t i_ = 0;
  std::string pending_;  // bytes in the file's encoding
  std::string utf8_;
  std::string_view problem_;
};

}  // namespace

LiteralText ReadCEscapes(std::string_view content, engine::SourceEncoding encoding) {
  return EscapeReader(content, encoding).Read();
}

}  // namespace quillmark::report
