// The C lexer: reads a file's literals as a C/C++ compiler does (line
// splices, comments by the file's own encoding, digit separators,
// prefixes, raw strings, header names) and reports every literal that
// holds Japanese text, with the line scanner's trace lines and findings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/encoding_rules.h"
#include "engine/report_builder.h"

namespace quillmark::engine {

class CLexer {
 public:
  // What the scan finds goes to `out`'s report; `out` is not owned.
  CLexer(ReportBuilder& out, const EncodingRules& rules);

  void SetRules(const EncodingRules& rules) { rules_ = &rules; }

  // Scans a whole file's text (as text-mode reading gives it: LF line
  // ends); its findings carry `relativePath`.
  void Scan(std::string_view text, const std::string& relativePath);

 private:
  // The token that runs right up to `end` from `from`, where no token is
  // open: none, an identifier (its first bytes kept) or a number.
  struct Token {
    enum class Kind { None, Identifier, Number } kind = Kind::None;
    char text[4] = {};
    std::size_t length = 0;
    bool Is(std::string_view name) const { return length == name.size() && std::string_view(text, length) == name; }
  };
  Token TokenBefore(std::size_t from, std::size_t end) const;

  std::size_t SkipSplices(std::size_t at) const;
  std::size_t NumberEnd(std::size_t at, std::size_t limit) const;
  std::size_t AfterHeaderName(std::size_t lineStart) const;
  std::size_t AfterBlockComment(std::size_t at) const;
  std::size_t LineCommentEnd(std::size_t at) const;
  std::size_t CharacterEnd(std::size_t at) const;
  // Whether the byte at `at` starts a character, stepping from `from`,
  // which does.
  bool StartsCharacter(std::size_t at, std::size_t from) const;

  // Each returns where the scan goes on.
  std::size_t ScanQuote(std::size_t runStart, std::size_t quote);
  std::size_t ScanLiteral(std::size_t quote, std::string_view prefix);
  // npos when no valid delimiter and "(" follow the quote.
  std::size_t ScanRawString(std::size_t quote, std::string_view prefix);
  void NotClosed(std::size_t quote, std::string_view text);
  void Checked(std::string_view content, std::size_t quote, std::string_view prefix, bool raw, bool japanese);

  // The physical line and column of the byte at `at`; `at` never goes back.
  std::int64_t LineAt(std::size_t at);
  std::int64_t ColumnAt(std::size_t at);
  template <class... Parts>
  void Trace(const Parts&... parts) {
    out_->Trace(parts...);
  }

  ReportBuilder* out_;
  const EncodingRules* rules_;
  bool tracing_;
  bool countingColumns_;
  std::string_view text_;
  const std::uint8_t* bytes_ = nullptr;
  std::size_t size_ = 0;
  Finding finding_;        // reused by every finding
  std::string content_;    // a literal's content once a splice is removed
  std::string shown_;      // a text with its line breaks written "\n"
  std::string lineText_;   // the decimal line of the last finding traced
  std::int64_t lineTextNumber_ = -1;
  // Lines counted up to countedTo_; the characters of the last finding's
  // line, up to columnTo_.
  std::size_t countedTo_ = 0;
  std::int64_t line_ = 1;
  std::size_t columnTo_ = 0;
  std::int64_t columnCount_ = 0;
};

}  // namespace quillmark::engine
