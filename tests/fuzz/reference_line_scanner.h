// The line scanner and text-mode reading re-written slowly and literally,
// one byte and one copy at a time, as the oracle for the engine's scanner.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/fuzz/reference_euc_to_sjis.h"

// The oracle's own branches would only distract the fuzzer's search, and
// their comparison hooks make long lines slow.
#define QUILLMARK_ORACLE __attribute__((no_sanitize("coverage")))

namespace quillmark::fuzz {

// What a scan hands its host, in order: a trace line, or a finding.
struct ScanEvent {
  bool isFinding = false;
  std::string trace;
  std::string text, line, path;

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
  explicit ReferenceLineScanner(bool euc) : euc_(euc) {}

  // Scans one line read from the file; false after a literal left open.
  QUILLMARK_ORACLE bool ScanLine(std::string line, bool& inComment, long lineNumber, const std::string& path,
                std::vector<ScanEvent>& events) {
    lineNumber_ = lineNumber;
    path_ = &path;
    events_ = &events;
    std::string rest = line.substr(0, line.find('\0'));
    while (!rest.empty()) {
      if (inComment) {
        const std::size_t closer = FindCloserByShiftJisCharacters(rest);
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
        if (IsLead(b)) {
          i += 2;
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
  QUILLMARK_ORACLE bool IsLead(std::uint8_t b) const {
    if (euc_) return IsEucLeadByte(b);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xEF) || (b >= 0xFA && b <= 0xFC);
  }
  QUILLMARK_ORACLE bool IsSingleJapanese(std::uint8_t b) const { return !euc_ && b >= 0xA0 && b <= 0xDF; }

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
      if (IsLead(static_cast<std::uint8_t>(c))) {
        k += 2;
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
      } else if (IsLead(c)) {
        found = true;
        i += 2;
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
    if (euc_) text = ReferenceEucToShiftJis(text);
    events_->push_back({true, {}, text, line, *path_});
  }

  bool euc_;
  long lineNumber_ = 0;
  const std::string* path_ = nullptr;
  std::vector<ScanEvent>* events_ = nullptr;
};

}  // namespace quillmark::fuzz
