// The line scanner and text-mode reading re-written slowly and literally,
// one byte and one copy at a time, as the oracle for the engine's scanner.
#pragma once

#include <iconv.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/finding.h"
#include "tests/fuzz/reference_euc_to_sjis.h"

// The oracle's own branches would only distract the fuzzer's search, and
// their comparison hooks make long lines slow.
#define QUILLMARK_ORACLE __attribute__((no_sanitize("coverage")))

namespace quillmark::fuzz {

using engine::SourceEncoding;

// What a scan hands its host, in order: a trace line, or a finding.
struct ScanEvent {
  bool isFinding = false;
  std::string trace;
  std::string text, line, path;
  SourceEncoding encoding = SourceEncoding::ShiftJis;

  friend bool operator==(const ScanEvent&, const ScanEvent&) = default;
};

// The lines a text-mode read gives: 0x1A ends the file, CR LF becomes LF.
QUILLMARK_ORACLE inline std::vector<std::string> ReferenceTextLines(std::string_view bytes) {
  if (const std::size_t eof = bytes.find('\x1A'); eof != std::string_view::npos) bytes = bytes.substr(0, eof);
  std::vector<std::string> lines;
  while (!bytes.empty()) {
    const std::size_t lf = bytes.find('\n');
    if (lf == std::string_view::npos) {
      lines.emplace_back(bytes);
      break;
    }
    std::string line(bytes.substr(0, lf + 1));
    if (lf > 0 && line[lf - 1] == '\r') line.erase(lf - 1, 1);
    lines.push_back(std::move(line));
    bytes.remove_prefix(lf + 1);
  }
  return lines;
}

class ReferenceLineScanner {
 public:
  explicit ReferenceLineScanner(SourceEncoding encoding) : encoding_(encoding) {}

  // Scans one line read from the file; false after a literal left open.
  QUILLMARK_ORACLE bool ScanLine(std::string line, bool& inComment, long lineNumber, const std::string& path,
                std::vector<ScanEvent>& events) {
    lineNumber_ = lineNumber;
    path_ = &path;
    events_ = &events;
    std::string rest = line.substr(0, line.find('\0'));
    while (!rest.empty()) {
      if (inComment) {
        const std::size_t closer =
            encoding_ == SourceEncoding::Utf8 ? rest.find("*/") : FindCloserByShiftJisCharacters(rest);
        if (closer == std::string::npos) return true;
        rest = rest.substr(closer + 2);
        inComment = false;
        if (rest.empty()) return true;
      }
      bool restWasCut = false;
      const std::size_t n = rest.size();
      std::size_t i = 0;
      while (i < n) {
        const auto b = static_cast<std::uint8_t>(rest[i]);
        if (const std::size_t length = CharacterLength(rest, i); length > 1) {
          i += length;
        } else if (b == '"' || b == '\'') {
          if (!ScanLiteral(rest, i)) return false;
          restWasCut = true;
          break;
        } else if (i + 1 == n) {
          i += 1;
        } else if (b == '\\') {
          i += 2;
        } else if (b == '/' && rest[i + 1] == '*') {
          inComment = true;
          rest = rest.substr(i + 2);
          restWasCut = true;
          break;
        } else if (b == '/' && rest[i + 1] == '/') {
          return true;
        } else {
          i += 1;
        }
      }
      if (!restWasCut) return true;
    }
    return true;
  }

 private:
  // How many bytes the character at `i` of `text` covers: a Shift_JIS or
  // EUC-JP lead byte takes the byte after it even past the end; a UTF-8
  // lead byte only the continuation bytes that follow within `text`.
  QUILLMARK_ORACLE std::size_t CharacterLength(const std::string& text, std::size_t i) const {
    const auto b = static_cast<std::uint8_t>(text[i]);
    switch (encoding_) {
      case SourceEncoding::ShiftJis:
        return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xEF) || (b >= 0xFA && b <= 0xFC) ? 2 : 1;
      case SourceEncoding::EucJp:
        return IsEucLeadByte(b) ? 2 : 1;
      case SourceEncoding::Utf8:
        break;
    }
    std::size_t wanted = 1;
    if (b >= 0xC2 && b <= 0xDF) wanted = 2;
    if (b >= 0xE0 && b <= 0xEF) wanted = 3;
    if (b >= 0xF0 && b <= 0xF4) wanted = 4;
    for (std::size_t k = 1; k < wanted; ++k) {
      if (i + k >= text.size()) return 1;
      const auto c = static_cast<std::uint8_t>(text[i + k]);
      if (c < 0x80 || c > 0xBF) return 1;
    }
    return wanted;
  }

  QUILLMARK_ORACLE bool IsSingleJapanese(std::uint8_t b) const {
    return encoding_ == SourceEncoding::ShiftJis && b >= 0xA0 && b <= 0xDF;
  }

  // Every Shift_JIS or EUC-JP character is; a UTF-8 one when CP932 writes
  // it as two bytes or a half-width katakana. iconv reads the bytes as
  // they stand, so it is also what refuses the forms a strict decoder
  // refuses (overlong, surrogate, above U+10FFFF).
  QUILLMARK_ORACLE bool IsJapaneseCharacter(std::string character) const {
    if (encoding_ != SourceEncoding::Utf8) return true;
    const iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) std::abort();
    char* in = character.data();
    std::size_t inLeft = character.size();
    char encoded[16] = {};
    char* out = encoded;
    std::size_t outLeft = sizeof encoded;
    const bool converted = iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1) &&
                           iconv(cd, nullptr, nullptr, &out, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    const auto written = static_cast<std::size_t>(out - encoded);
    const auto first = static_cast<std::uint8_t>(encoded[0]);
    return converted && (written == 2 || (written == 1 && first >= 0xA1 && first <= 0xDF));
  }

  QUILLMARK_ORACLE static std::size_t FindCloserByShiftJisCharacters(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
      const auto b = static_cast<std::uint8_t>(text[i]);
      if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) {
        i += 2;
      } else if (b == '*' && i + 1 < text.size() && text[i + 1] == '/') {
        return i;
      } else {
        i += 1;
      }
    }
    return std::string::npos;
  }

  QUILLMARK_ORACLE bool ScanLiteral(std::string& rest, std::size_t q) {
    const char quote = rest[q];
    const std::size_t n = rest.size();
    std::size_t k = q + 1;
    for (;;) {
      if (k >= n) {
        events_->push_back({false, "Error: missing string terminator : " + rest, {}, {}, {}});
        return false;
      }
      const char c = rest[k];
      if (const std::size_t length = CharacterLength(rest, k); length > 1) {
        k += length;
      } else if (c == '\\' && k + 1 < n) {
        k += 2;
      } else if (c == quote) {
        break;
      } else {
        k += 1;
      }
    }
    if (k != q + 1) {
      const std::string content = rest.substr(q + 1, k - q - 1);
      events_->push_back({false, "checking string:" + content, {}, {}, {}});
      if (ContainsJapanese(content)) Report(content);
    }
    rest = rest.substr(k + 1);
    return true;
  }

  QUILLMARK_ORACLE bool ContainsJapanese(const std::string& content) const {
    bool found = false;
    std::size_t i = 0;
    while (i < content.size()) {
      const auto c = static_cast<std::uint8_t>(content[i]);
      if (IsSingleJapanese(c)) {
        found = true;
        i += 1;
      } else if (const std::size_t length = CharacterLength(content, i); length > 1) {
        if (!found) found = IsJapaneseCharacter(content.substr(i, length));
        i += length;
      } else if (c == '\\' && i + 1 < content.size()) {
        i += 2;
      } else if (c == '"') {
        return false;
      } else {
        i += 1;
      }
    }
    return found;
  }

  QUILLMARK_ORACLE void Report(const std::string& content) {
    const std::string line = std::to_string(lineNumber_);
    events_->push_back({false, ">> " + *path_ + " : " + line, {}, {}, {}});
    std::string text = content;
    while (text.size() < 20) text += ' ';
    if (encoding_ == SourceEncoding::EucJp) text = ReferenceEucToShiftJis(text);
    events_->push_back({true, {}, text, line, *path_, encoding_});
  }

  SourceEncoding encoding_;
  long lineNumber_ = 0;
  const std::string* path_ = nullptr;
  std::vector<ScanEvent>* events_ = nullptr;
};

}  // namespace quillmark::fuzz
