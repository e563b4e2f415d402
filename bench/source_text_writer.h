// Writes the text of one C/C++ source file: code, Japanese and ASCII
// string and character literals, escapes, line and block comments (some
// over several lines, some holding Japanese and quotes). Every literal is
// closed on its own line, so a scan reads each file to its end.
// For SourceEncoding::Ascii the same mix comes with English words where
// Japanese would be, and no literal is a finding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "bench/japanese_text.h"
#include "bench/random.h"

namespace quillmark::bench {

// What a scan of the written text meets, counted as it is written.
struct SourceCounts {
  std::uint64_t lines = 0;
  std::uint64_t literals = 0;          // non-empty literals outside comments
  std::uint64_t japaneseLiterals = 0;  // those holding Japanese: the findings
};

class SourceTextWriter {
 public:
  // `plainLinePercent` of the body lines are code or comments without a
  // literal, thinning out the literal-heavy mix.
  SourceTextWriter(SourceEncoding encoding, Random& random, int plainLinePercent = 0)
      : encoding_(encoding), random_(random), plainLinePercent_(plainLinePercent) {}

  // Replaces `out` with a whole file of at least `targetBytes` bytes (it
  // stops at the first line end past the target), lines ending in CR LF
  // when `crlf` is set.
  void WriteFile(std::string& out, std::size_t targetBytes, bool crlf);

  // Everything written so far, over all files.
  const SourceCounts& Counts() const { return counts_; }

 private:
  void WriteFileHeader();
  void WriteLine();
  void WritePlainLine();
  void WriteBlockComment();
  void OpenFunction();
  void CloseFunction();

  void Text(std::string_view text) { out_->append(text); }
  void Indent();
  void EndLine();
  void Word();
  void Identifier();
  void Number();
  void JapaneseRun(std::uint32_t minCharacters, std::uint32_t maxCharacters);
  void CommentText();

  // Literals outside comments, counted as the scan will find them.
  void StringLiteral(bool japanese);
  void CharLiteral();
  void JapaneseContent();
  void AsciiContent(bool mayBeEmpty);
  void CountLiteral(bool empty, bool japanese);

  SourceEncoding encoding_;
  Random& random_;
  int plainLinePercent_ = 0;
  std::string* out_ = nullptr;
  std::string_view lineEnd_ = "\n";
  int depth_ = 0;                 // indent levels of the current line
  std::uint32_t functionLines_ = 0;  // lines left in the open function
  SourceCounts counts_;
};

}  // namespace quillmark::bench
