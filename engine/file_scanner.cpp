#include "engine/file_scanner.h"

namespace quillmark::engine {
namespace {

// A file's bytes for detection, read through the scan's own buffer.
class FileChunks final : public ByteChunks {
 public:
  explicit FileChunks(platform::TextFile& file) : file_(file) {}
  bool Next(std::string_view& chunk) override { return file_.ReadChunk(chunk); }
  bool Restart() override { return file_.Rewind().ok(); }

 private:
  platform::TextFile& file_;
};

const EncodingRules& RulesFor(DetectedEncoding detected) {
  switch (detected) {
    case DetectedEncoding::EucJp:
      return EucJpRules();
    case DetectedEncoding::Utf8:
      return Utf8Rules();
    case DetectedEncoding::Ascii:  // every rule reads such a file alike
    case DetectedEncoding::ShiftJis:
      break;
  }
  return ShiftJisRules();
}

}  // namespace

FileScanner::FileScanner(const SearchOptions& options, const std::atomic<bool>* cancel)
    : fixedRules_(options.encoding.rules),
      cLexer_(options.lexer == Lexer::C),
      cancel_(cancel),
      out_(options),
      scanner_(out_, fixedRules_ ? *fixedRules_ : ShiftJisRules()),
      lexer_(out_, fixedRules_ ? *fixedRules_ : ShiftJisRules()) {}

void FileScanner::Scan(platform::Descriptor file, const std::string& relativePath, const std::string& path,
                       FileReport& report) {
  out_.SetReport(report);
  if (const platform::Status opened = file_.Adopt(std::move(file)); !opened) {
    // Gone from under the walk between its open and this scan.
    out_.Trace("Error: failed to open the file.");
    out_.Diagnose(Diagnostic{Diagnostic::Kind::CannotOpenFile, relativePath, 0, opened.error().reason});
    report.failure = WalkFailure{WalkFailure::Kind::CannotOpenFile, path, opened.error().reason};
    return;
  }
  std::string_view encodingName;
  if (fixedRules_) {
    encodingName = fixedRules_->name;
  } else {
    // Read in pieces, then again for its lines: a whole file held at once
    // would cost its size in fresh memory, and rereading a file the system
    // has just read costs far less.
    FileChunks chunks(file_);
    const DetectedEncoding detected = DetectEncoding(chunks);
    if (!file_.ReadStatus()) return FailRead(file_.ReadStatus().error(), relativePath, path);
    if (const platform::Status rewound = file_.Rewind(); !rewound) return FailRead(rewound.error(), relativePath, path);
    encodingName = DetectedEncodingName(detected);
    out_.Trace("-- encoding:", encodingName);
    scanner_.SetRules(RulesFor(detected));
    lexer_.SetRules(RulesFor(detected));
  }
  bytes_ = 0;
  bool endedEarly = false;
  if (cLexer_) {
    LexWhole(relativePath);
  } else {
    scanner_.SetPosition(1, relativePath);
    endedEarly = !ScanLines();
  }
  report.scanned = ScannedFile{encodingName, bytes_, endedEarly};
  if (!file_.ReadStatus()) FailRead(file_.ReadStatus().error(), relativePath, path);
  file_.Close();
}

bool FileScanner::ScanLines() {
  bool inComment = false;
  std::string_view line;
  while (file_.ReadLine(line)) {
    if (cancel_ && cancel_->load(std::memory_order_relaxed)) break;
    bytes_ += line.size();
    if (!scanner_.ScanLine(line, inComment, file_.MayHoldNul())) return false;
    scanner_.NextLine();
  }
  return true;
}

void FileScanner::LexWhole(const std::string& relativePath) {
  // Literals and comments run across lines: the lexer reads the file whole,
  // taken in pieces and its CR LF pairs made LF as lines are.
  text_.clear();
  std::string_view chunk;
  while (file_.ReadChunk(chunk)) {
    if (cancel_ && cancel_->load(std::memory_order_relaxed)) break;
    text_.append(chunk);
  }
  // A line cut by a failed read is no line of the file.
  if (!file_.ReadStatus()) text_.resize(text_.rfind('\n') + 1);
  std::size_t kept = text_.find('\r');
  if (kept == std::string::npos) kept = text_.size();
  for (std::size_t at = kept; at < text_.size(); ++at) {
    if (text_[at] == '\r' && at + 1 < text_.size() && text_[at + 1] == '\n') continue;
    text_[kept++] = text_[at];
  }
  text_.resize(kept);
  bytes_ = text_.size();
  lexer_.Scan(text_, relativePath);
}

void FileScanner::FailRead(const platform::SystemError& error, const std::string& relativePath,
                           const std::string& path) {
  out_.Trace("Error: failed to read the file. (", error.reason, ")");
  out_.Diagnose(Diagnostic{Diagnostic::Kind::CannotReadFile, relativePath, 0, error.reason});
  out_.Report().failure = WalkFailure{WalkFailure::Kind::CannotReadFile, path, error.reason};
  file_.Close();
}

}  // namespace quillmark::engine
