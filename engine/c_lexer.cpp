#include "engine/c_lexer.h"

#include <algorithm>
#include <cstring>

namespace quillmark::engine {
namespace {

constexpr ByteClassTable kIdentifierStart =
    MakeByteClassTable({{'A', 'Z'}, {'a', 'z'}, {'_', '_'}, {'$', '$'}});
constexpr ByteClassTable kIdentifierPart =
    MakeByteClassTable({{'A', 'Z'}, {'a', 'z'}, {'0', '9'}, {'_', '_'}, {'$', '$'}});
constexpr ByteClassTable kLetterOrDigit = MakeByteClassTable({{'A', 'Z'}, {'a', 'z'}, {'0', '9'}});
// What a number runs over, besides separators and signs.
constexpr ByteClassTable kNumberPart = MakeByteClassTable({{'A', 'Z'}, {'a', 'z'}, {'0', '9'}, {'_', '_'}, {'.', '.'}});
// A raw string's delimiter: printable ASCII but space, parentheses and backslash.
constexpr ByteClassTable kDelimiter = MakeByteClassTable([](unsigned char b) {
  return b > ' ' && b < 0x7F && b != '(' && b != ')' && b != '\\';
});
constexpr std::size_t kMaxDelimiter = 16;

bool IsDigit(std::uint8_t b) { return b >= '0' && b <= '9'; }
bool IsExponent(std::uint8_t b) { return b == 'e' || b == 'E' || b == 'p' || b == 'P'; }

}  // namespace

CLexer::CLexer(ReportBuilder& out, const EncodingRules& rules)
    : out_(&out), rules_(&rules), tracing_(out.Tracing()), countingColumns_(out.CountingColumns()) {}

void CLexer::Scan(std::string_view text, const std::string& relativePath) {
  text_ = text;
  bytes_ = reinterpret_cast<const std::uint8_t*>(text.data());
  size_ = text.size();
  finding_.path = relativePath;
  countedTo_ = 0;
  line_ = 1;
  columnTo_ = 0;
  columnCount_ = 0;
  lineTextNumber_ = -1;

  const EncodingRules& rules = *rules_;
  const bool leadAndTrail = rules.form == CharacterForm::LeadAndTrail;
  // Bytes from runStart on are plain code (a splice at most): the token
  // before a quote is read from there.
  std::size_t at = AfterHeaderName(0);
  std::size_t runStart = at;
  while (at < size_) {
    at = FindStopByte(bytes_, at, size_, rules.lexerCodeStops);
    if (at >= size_) break;
    const std::uint8_t b = bytes_[at];
    if (leadAndTrail && rules.leadBytes[b]) {
      at = CharacterEnd(at);  // its trail byte is never a quote, slash or backslash
      runStart = at;
      continue;
    }
    switch (b) {
      case '\n':
        at += 1;
        if (at < size_ && (bytes_[at] == ' ' || bytes_[at] == '\t' || bytes_[at] == '#' || bytes_[at] == '\\'))
          at = AfterHeaderName(at);
        runStart = at;
        break;
      case '\\':
        // A splice joins the tokens on either side; any other backslash
        // stands between tokens.
        if (at + 1 < size_ && bytes_[at + 1] == '\n') {
          at += 2;
        } else {
          runStart = ++at;
        }
        break;
      case '/': {
        const std::size_t next = SkipSplices(at + 1);
        if (next < size_ && bytes_[next] == '*') {
          at = AfterBlockComment(next + 1);
        } else if (next < size_ && bytes_[next] == '/') {
          at = LineCommentEnd(next + 1);
        } else {
          at += 1;
        }
        runStart = at;
        break;
      }
      default:  // a quote
        at = ScanQuote(runStart, at);
        runStart = at;
        break;
    }
  }
}

std::size_t CLexer::SkipSplices(std::size_t at) const {
  while (at + 1 < size_ && bytes_[at] == '\\' && bytes_[at + 1] == '\n') at += 2;
  return at;
}

std::size_t CLexer::CharacterEnd(std::size_t at) const {
  return std::min(at + CharacterLength(*rules_, bytes_, at, size_), size_);
}

CLexer::Token CLexer::TokenBefore(std::size_t from, std::size_t end) const {
  Token token;
  // Mostly the run of identifier bytes right before the quote tells: read
  // it backwards unless a splice, a '$' or what may end a number
  // ("1.L", "1e+u") leaves doubt.
  if (std::memchr(bytes_ + from, '\\', end - from) == nullptr) {
    std::size_t start = end;
    while (start > from && kIdentifierPart[bytes_[start - 1]]) --start;
    const std::uint8_t before = start > from ? bytes_[start - 1] : 0;
    if (before != '.' && before != '+' && before != '-' && std::memchr(bytes_ + start, '$', end - start) == nullptr) {
      if (start == end) return token;
      if (IsDigit(bytes_[start])) return Token{Token::Kind::Number};
      token.kind = Token::Kind::Identifier;
      token.length = end - start;
      std::memcpy(token.text, bytes_ + start, std::min(token.length, sizeof token.text));
      return token;
    }
  }
  std::size_t at = from;
  while (at < end) {
    at = std::min(SkipSplices(at), end);
    if (at >= end) break;
    const std::uint8_t b = bytes_[at];
    if (kIdentifierStart[b]) {
      token = Token{Token::Kind::Identifier};
      while (at < end && kIdentifierPart[bytes_[at]]) {
        if (token.length < sizeof token.text) token.text[token.length] = static_cast<char>(bytes_[at]);
        ++token.length;
        at = std::min(SkipSplices(at + 1), end);
      }
    } else if (IsDigit(b) || (b == '.' && SkipSplices(at + 1) < end && IsDigit(bytes_[SkipSplices(at + 1)]))) {
      token = Token{Token::Kind::Number};
      at = NumberEnd(at, end);
    } else {
      token = Token{};
      ++at;
    }
  }
  return token;
}

std::size_t CLexer::NumberEnd(std::size_t at, std::size_t limit) const {
  std::uint8_t previous = 0;
  while (at < limit) {
    const std::uint8_t b = bytes_[at];
    std::size_t next = at + 1;
    if (kNumberPart[b]) {
    } else if (b == '\'') {
      // A separator only between letters or digits of the number.
      next = SkipSplices(at + 1);
      if (next >= size_ || !kLetterOrDigit[bytes_[next]]) break;
    } else if ((b == '+' || b == '-') && IsExponent(previous)) {
    } else {
      break;
    }
    previous = b;
    at = std::min(SkipSplices(next), limit);
  }
  return at;
}

std::size_t CLexer::AfterHeaderName(std::size_t lineStart) const {
  const auto skipBlanks = [this](std::size_t at) {
    for (;;) {
      at = SkipSplices(at);
      if (at >= size_ || (bytes_[at] != ' ' && bytes_[at] != '\t')) return at;
      ++at;
    }
  };
  std::size_t at = skipBlanks(lineStart);
  if (at >= size_ || bytes_[at] != '#') return lineStart;
  at = skipBlanks(at + 1);
  char name[13] = {};
  std::size_t length = 0;
  while (at < size_ && kIdentifierPart[bytes_[at]]) {
    if (length < sizeof name - 1) name[length] = static_cast<char>(bytes_[at]);
    ++length;
    at = SkipSplices(at + 1);
  }
  const std::string_view directive(name, std::min(length, sizeof name - 1));
  if (length >= sizeof name || (directive != "include" && directive != "include_next" && directive != "import"))
    return lineStart;
  at = skipBlanks(at);
  if (at >= size_ || (bytes_[at] != '"' && bytes_[at] != '<')) return lineStart;
  const std::uint8_t closer = bytes_[at] == '<' ? '>' : '"';
  for (at = SkipSplices(at + 1); at < size_; at = SkipSplices(at)) {
    if (bytes_[at] == '\n') return at;
    if (bytes_[at] == closer) return at + 1;
    at = CharacterEnd(at);
  }
  return size_;
}

bool CLexer::StartsCharacter(std::size_t at, std::size_t from) const {
  // A UTF-8 continuation byte is never ASCII. Elsewhere the byte behind a
  // run of lead-range bytes starts a character: the byte at `at` does when
  // the run right before it pairs up evenly.
  if (rules_->form == CharacterForm::Utf8) return true;
  std::size_t run = 0;
  while (at - run > from && rules_->leadBytes[bytes_[at - run - 1]]) ++run;
  return run % 2 == 0;
}

std::size_t CLexer::AfterBlockComment(std::size_t at) const {
  const std::size_t from = at;
  while (at < size_) {
    const void* star = std::memchr(bytes_ + at, '*', size_ - at);
    if (star == nullptr) return size_;
    at = static_cast<std::size_t>(static_cast<const std::uint8_t*>(star) - bytes_);
    const std::size_t next = SkipSplices(at + 1);
    if (next < size_ && bytes_[next] == '/' && StartsCharacter(at, from)) return next + 1;
    at += 1;
  }
  return size_;
}

std::size_t CLexer::LineCommentEnd(std::size_t at) const {
  const std::size_t from = at;
  while (at < size_) {
    const void* lf = std::memchr(bytes_ + at, '\n', size_ - at);
    if (lf == nullptr) return size_;
    at = static_cast<std::size_t>(static_cast<const std::uint8_t*>(lf) - bytes_);
    // A splice continues the comment; a lead byte's trail LF is no line end.
    const bool spliced = at > from && bytes_[at - 1] == '\\' && StartsCharacter(at - 1, from);
    if (!spliced && (at == from || StartsCharacter(at, from))) return at;
    at += 1;
  }
  return size_;
}

std::size_t CLexer::ScanQuote(std::size_t runStart, std::size_t quote) {
  const Token token = TokenBefore(runStart, quote);
  if (bytes_[quote] == '\'' && token.kind == Token::Kind::Number) {
    const std::size_t next = SkipSplices(quote + 1);
    if (next < size_ && kLetterOrDigit[bytes_[next]]) return NumberEnd(next, size_);
  }
  std::string_view prefix;
  if (token.kind == Token::Kind::Identifier) {
    for (const std::string_view name : {"L", "u", "U", "u8"}) {
      if (token.Is(name)) prefix = name;
    }
    if (bytes_[quote] == '"') {
      for (const std::string_view name : {"R", "LR", "uR", "UR", "u8R"}) {
        if (!token.Is(name)) continue;
        const std::size_t end = ScanRawString(quote, name.substr(0, name.size() - 1));
        if (end != std::string_view::npos) return end;
      }
    }
  }
  return ScanLiteral(quote, prefix);
}

std::size_t CLexer::ScanLiteral(std::size_t quote, std::string_view prefix) {
  const EncodingRules& rules = *rules_;
  const std::uint8_t quoteByte = bytes_[quote];
  const bool leadAndTrail = rules.form == CharacterForm::LeadAndTrail;
  bool japanese = false;
  bool spliced = false;
  std::size_t segment = quote + 1;  // content not yet copied, when spliced
  const auto splice = [&](std::size_t at) {
    if (!spliced) content_.clear();
    spliced = true;
    content_.append(text_.substr(segment, at - segment));
    segment = at + 2;
  };
  const auto textTo = [&](std::size_t end) {
    if (!spliced) return text_.substr(quote + 1, end - quote - 1);
    content_.append(text_.substr(segment, end - segment));
    segment = end;
    return std::string_view(content_);
  };
  std::size_t at = quote + 1;
  for (;;) {
    at = FindStopBytePortable(bytes_, at, size_, rules.lexerLiteralStops);
    if (at >= size_ || bytes_[at] == '\n') {
      // Its line ended first: no literal, and the scan goes on at the next line.
      const std::size_t end = std::min(at, size_);
      const std::string_view content = textTo(end);
      shown_.assign(1, static_cast<char>(quoteByte));
      shown_.append(content);
      NotClosed(quote, shown_);
      return std::min(at + 1, size_);
    }
    const std::uint8_t b = bytes_[at];
    if (b == quoteByte) break;
    if (b == '\\') {
      if (at + 1 < size_ && bytes_[at + 1] == '\n') {
        splice(at);
        at += 2;
        continue;
      }
      // It escapes the character after it, splices removed first.
      at += 1;
      while (at + 1 < size_ && bytes_[at] == '\\' && bytes_[at + 1] == '\n') {
        splice(at);
        at += 2;
      }
      if (at >= size_ || bytes_[at] == '\n') continue;
    }
    if (leadAndTrail && rules.leadBytes[bytes_[at]]) {
      // Every double-byte character is Japanese; they come in runs.
      japanese = true;
      do at += 2;
      while (at < size_ && rules.leadBytes[bytes_[at]]);
      at = std::min(at, size_);
      continue;
    }
    const std::size_t end = CharacterEnd(at);
    japanese = japanese || IsJapaneseCharacter(rules, bytes_ + at, end - at);
    at = end;
  }
  Checked(textTo(at), quote, prefix, false, japanese);
  return at + 1;
}

std::size_t CLexer::ScanRawString(std::size_t quote, std::string_view prefix) {
  std::size_t open = quote + 1;
  while (open < size_ && open - quote - 1 <= kMaxDelimiter && kDelimiter[bytes_[open]]) ++open;
  if (open >= size_ || open - quote - 1 > kMaxDelimiter || bytes_[open] != '(') return std::string_view::npos;
  char closer[kMaxDelimiter + 2];
  const std::size_t delimiter = open - quote - 1;
  closer[0] = ')';
  std::memcpy(closer + 1, bytes_ + quote + 1, delimiter);
  closer[delimiter + 1] = '"';
  const std::size_t close = text_.find(std::string_view(closer, delimiter + 2), open + 1);
  if (close == std::string_view::npos) {
    // Nothing ends it: it runs to the end of the file, as a compiler reads it.
    const std::size_t lineEnd = text_.find('\n', quote);
    NotClosed(quote, text_.substr(quote, (lineEnd == std::string_view::npos ? size_ : lineEnd) - quote));
    return size_;
  }
  bool japanese = false;
  for (std::size_t at = open + 1; at < close && !japanese;) {
    const std::size_t end = std::min(CharacterEnd(at), close);
    japanese = IsJapaneseCharacter(*rules_, bytes_ + at, end - at);
    at = end;
  }
  Checked(text_.substr(open + 1, close - open - 1), quote, prefix, true, japanese);
  return close + delimiter + 2;
}

void CLexer::NotClosed(std::size_t quote, std::string_view text) {
  const std::int64_t line = LineAt(quote);
  Trace("Warning: missing string terminator : ", text);
  Diagnostic diagnostic{Diagnostic::Kind::LiteralNotClosed, finding_.path, line, std::string(text)};
  diagnostic.restScanned = true;
  out_->Diagnose(std::move(diagnostic));
}

void CLexer::Checked(std::string_view content, std::size_t quote, std::string_view prefix, bool raw, bool japanese) {
  if (tracing_ && !content.empty()) {
    if (content.find('\n') == std::string_view::npos) {
      Trace("checking string:", content);
    } else {
      shown_.clear();
      for (const char c : content) {
        if (c == '\n') shown_ += "\\n";
        else shown_ += c;
      }
      Trace("checking string:", shown_);
    }
  }
  if (!japanese) return;
  const std::int64_t line = LineAt(quote);
  if (tracing_) {
    if (lineTextNumber_ != line) {
      lineTextNumber_ = line;
      lineText_ = std::to_string(line);
    }
    Trace(">> ", finding_.path, " : ", lineText_);
  }
  finding_.content.assign(content);
  finding_.line = line;
  finding_.column = countingColumns_ ? ColumnAt(quote) : 0;
  finding_.encoding = rules_->encoding;
  finding_.quote = static_cast<char>(bytes_[quote]);
  finding_.prefix.assign(prefix);
  finding_.raw = raw;
  out_->AddFinding(finding_);
}

std::int64_t CLexer::LineAt(std::size_t at) {
  if (countedTo_ < at) {
    line_ += std::count(bytes_ + countedTo_, bytes_ + at, '\n');
    countedTo_ = at;
  }
  return line_;
}

std::int64_t CLexer::ColumnAt(std::size_t at) {
  LineAt(at);
  std::size_t lineStart = at;
  while (lineStart > 0 && bytes_[lineStart - 1] != '\n') --lineStart;
  if (columnTo_ < lineStart || columnTo_ > at) {
    columnTo_ = lineStart;
    columnCount_ = 0;
  }
  while (columnTo_ < at) {
    columnTo_ += CharacterLength(*rules_, bytes_, columnTo_, size_);
    ++columnCount_;
  }
  return columnCount_ + 1;
}

}  // namespace quillmark::engine
