// The literal scanner: follows comments and literals across the lines of
// one file and reports every literal that holds Japanese text, by the
// rules of the file's encoding.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/encoding_rules.h"
#include "engine/report_builder.h"

namespace quillmark::engine {

class LiteralScanner {
 public:
  // What the scan finds goes to `out`'s report; `out` is not owned.
  LiteralScanner(ReportBuilder& out, const EncodingRules& rules);

  // The encoding of the lines that follow.
  void SetRules(const EncodingRules& rules) { rules_ = &rules; }
  const EncodingRules& Rules() const { return *rules_; }

  // Where the next line stands: findings carry both.
  void SetPosition(std::int64_t lineNumber, std::string relativePath);
  void NextLine() { ++lineNumber_; }

  // Scans one line as read, its LF included; a NUL byte ends what is
  // scanned of it (`mayHoldNul` false spares looking for one). False after
  // a literal left open on the line: the rest of the file is not to be
  // scanned. `inComment` carries an open block comment to the next line.
  bool ScanLine(std::string_view line, bool& inComment, bool mayHoldNul = true);

  // Whether a literal's content holds a Japanese character. A double
  // quote in it (only a character literal can hold one) makes it false.
  bool ContainsJapanese(std::string_view content) const;

 private:
  std::size_t FindCloser(std::string_view rest) const;
  // Scans the literal opened at `quote` of `rest`; cuts `rest` behind its
  // closing quote, or returns false when the line does not close it.
  bool ScanLiteral(std::string_view& rest, std::size_t quote);
  void ReportFinding(std::string_view content, char quote);
  // The column of the byte at `offset` of the line being scanned.
  std::int64_t ColumnAt(std::size_t offset);
  template <class... Parts>
  void Trace(const Parts&... parts) {
    out_->Trace(parts...);
  }

  ReportBuilder* out_;
  const EncodingRules* rules_;
  bool tracing_;
  bool countingColumns_;
  std::int64_t lineNumber_ = 0;
  Finding finding_;  // reused by every finding
  std::string lineText_;
  std::int64_t lineTextNumber_ = -1;  // the line that lineText_ spells
  // The line being scanned, and how far its characters are counted: a
  // line's findings come left to right, so each count goes on from the last.
  std::string_view line_;
  std::size_t countedBytes_ = 0;
  std::int64_t countedCharacters_ = 0;
};

}  // namespace quillmark::engine
