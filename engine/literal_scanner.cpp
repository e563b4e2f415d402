#include "engine/literal_scanner.h"

#include <cstring>

#include "engine/comment_closer.h"

namespace quillmark::engine {

LiteralScanner::LiteralScanner(ReportBuilder& out, const EncodingRules& rules)
    : out_(&out), rules_(&rules), tracing_(out.Tracing()), countingColumns_(out.CountingColumns()) {}

void LiteralScanner::SetPosition(std::int64_t lineNumber, std::string relativePath) {
  lineNumber_ = lineNumber;
  finding_.path = std::move(relativePath);
}

std::size_t LiteralScanner::FindCloser(std::string_view rest) const {
  return rules_->closerSearch == CommentCloserSearch::PlainBytes ? FindCommentCloserBytes(rest)
                                                                  : FindCommentCloser(rest);
}

bool LiteralScanner::ScanLine(std::string_view rest, bool& inComment, bool mayHoldNul) {
  if (mayHoldNul) {
    if (const std::size_t nul = rest.find('\0'); nul != std::string_view::npos) rest = rest.substr(0, nul);
  }
  line_ = rest;
  countedBytes_ = 0;
  countedCharacters_ = 0;
  const EncodingRules& rules = *rules_;
  while (!rest.empty()) {
    if (inComment) {
      const std::size_t closer = FindCloser(rest);
      if (closer == std::string_view::npos) return true;
      rest.remove_prefix(closer + 2);
      inComment = false;
      if (rest.empty()) return true;
    }

    const auto* bytes = reinterpret_cast<const std::uint8_t*>(rest.data());
    const std::size_t n = rest.size();
    std::size_t i = 0;
    bool restWasCut = false;
    while (i < n && !restWasCut) {
      i = FindStopByte(bytes, i, n, rules.codeStops);
      if (i >= n) break;
      const std::uint8_t b = bytes[i];
      if (rules.leadBytes[b]) {
        i += CharacterLength(rules, bytes, i, n);  // a trail byte is never examined
      } else if (b == '"' || b == '\'') {
        if (!ScanLiteral(rest, i)) return false;
        restWasCut = true;
      } else if (i + 1 == n) {
        i += 1;
      } else if (b == '\\') {
        i += 2;
      } else if (b == '/' && bytes[i + 1] == '*') {
        inComment = true;
        rest.remove_prefix(i + 2);
        restWasCut = true;
      } else if (b == '/' && bytes[i + 1] == '/') {
        return true;
      } else {
        i += 1;
      }
    }
    if (!restWasCut) return true;
  }
  return true;
}

bool LiteralScanner::ScanLiteral(std::string_view& rest, std::size_t quote) {
  const EncodingRules& rules = *rules_;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(rest.data());
  const std::size_t n = rest.size();
  const std::uint8_t quoteByte = bytes[quote];
  bool sawJapanese = false;
  std::size_t k = quote + 1;
  for (;;) {
    // Literals are short: a plain loop beats setting up the wide search.
    k = FindStopBytePortable(bytes, k, n, rules.literalStops);
    if (k >= n) {
      Trace("Error: missing string terminator : ", rest);
      out_->Diagnose(Diagnostic{Diagnostic::Kind::LiteralNotClosed, finding_.path, lineNumber_, std::string(rest)});
      return false;
    }
    const std::uint8_t c = bytes[k];
    if (rules.form == CharacterForm::LeadAndTrail && rules.leadBytes[c]) {
      // Japanese text comes in runs of double-byte characters.
      sawJapanese = true;
      do k += 2;
      while (k < n && rules.leadBytes[bytes[k]]);
    } else if (rules.leadBytes[c]) {
      const std::size_t length = CharacterLength(rules, bytes, k, n);
      sawJapanese = sawJapanese || IsJapaneseCharacter(rules, bytes + k, length);
      k += length;
    } else if (c == '\\' && k + 1 < n) {
      k += 2;
    } else if (c == quoteByte) {
      break;
    } else {
      sawJapanese = sawJapanese || rules.singleByteJapanese[c];
      k += 1;
    }
  }
  if (k > quote + 1) {
    const std::string_view content = rest.substr(quote + 1, k - quote - 1);
    Trace("checking string:", content);
    // ContainsJapanese steps through the content exactly as the loop above
    // did, so it can only hold when that loop saw a Japanese character; and
    // a string literal cannot hold the double quote that would refute it.
    if (sawJapanese && (quoteByte == '"' || ContainsJapanese(content)))
      ReportFinding(content, static_cast<char>(quoteByte));
  }
  rest.remove_prefix(k + 1);
  return true;
}

bool LiteralScanner::ContainsJapanese(std::string_view content) const {
  const EncodingRules& rules = *rules_;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(content.data());
  const std::size_t m = content.size();
  bool found = false;
  std::size_t i = 0;
  while (i < m) {
    const std::uint8_t c = bytes[i];
    if (rules.singleByteJapanese[c]) {
      found = true;
      i += 1;
    } else if (rules.leadBytes[c]) {
      const std::size_t length = CharacterLength(rules, bytes, i, m);
      found = found || IsJapaneseCharacter(rules, bytes + i, length);
      i += length;
    } else if (c == '\\' && i + 1 < m) {
      i += 2;
    } else if (c == '"') {
      return false;
    } else {
      i += 1;
    }
  }
  return found;
}

void LiteralScanner::ReportFinding(std::string_view content, char quote) {
  if (tracing_) {
    if (lineTextNumber_ != lineNumber_) {
      lineTextNumber_ = lineNumber_;
      lineText_ = std::to_string(lineNumber_);
    }
    Trace(">> ", finding_.path, " : ", lineText_);
  }
  finding_.content.assign(content);
  finding_.line = lineNumber_;
  finding_.column = countingColumns_ ? ColumnAt(static_cast<std::size_t>(content.data() - line_.data()) - 1) : 0;
  finding_.encoding = rules_->encoding;
  finding_.quote = quote;
  out_->AddFinding(finding_);
}

std::int64_t LiteralScanner::ColumnAt(std::size_t offset) {
  // Characters are counted from the line's start by the encoding alone,
  // whatever way the scan stepped to the quote.
  // An ASCII byte is a character of its own in every encoding: eight at a
  // time while the bytes are ASCII, as code mostly is.
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(line_.data());
  while (countedBytes_ < offset) {
    if (offset - countedBytes_ >= 8) {
      std::uint64_t word;
      std::memcpy(&word, bytes + countedBytes_, sizeof word);
      if ((word & 0x8080808080808080ull) == 0) {
        countedBytes_ += 8;
        countedCharacters_ += 8;
        continue;
      }
    }
    countedBytes_ += CharacterLength(*rules_, bytes, countedBytes_, line_.size());
    ++countedCharacters_;
  }
  return countedCharacters_ + 1;
}

}  // namespace quillmark::engine
