#include "engine/source_finder.h"

#include "engine/encoding_detection.h"
#include "engine/folder_walker.h"
#include "engine/literal_scanner.h"

namespace quillmark::engine {
namespace {

// A file's bytes for detection, read through the scan's own buffer.
class FileChunks final : public ByteChunks {
 public:
  explicit FileChunks(platform::TextFile& file) : file_(file) {}
  bool Next(std::string_view& chunk) override { return file_.ReadChunk(chunk); }
  bool Restart() override { return file_.Rewind(); }

 private:
  platform::TextFile& file_;
};

// Scans each file line by line with one scanner, by fixed rules or by the
// rules its bytes call for.
class SourceFileScan final : public FileScan {
 public:
  SourceFileScan(FinderHost& host, const EncodingRules* fixedRules)
      : host_(host), fixedRules_(fixedRules), scanner_(host, fixedRules ? *fixedRules : ShiftJisRules()) {}

  void ScanFile(platform::TextFile& file, std::string relativePath) override {
    std::string_view encodingName;
    if (fixedRules_) {
      encodingName = fixedRules_->name;
    } else {
      const DetectedEncoding detected = Detect(file);
      encodingName = DetectedEncodingName(detected);
      scanner_.SetRules(RulesFor(detected));
    }
    scanner_.SetPosition(1, std::move(relativePath));
    bool inComment = false;
    bool endedEarly = false;
    std::uint64_t bytes = 0;
    std::string_view line;
    while (file.ReadLine(line)) {
      bytes += line.size();
      if (!scanner_.ScanLine(line, inComment, file.MayHoldNul())) {
        endedEarly = true;
        break;
      }
      scanner_.NextLine();
    }
    host_.FileScanned(ScannedFile{encodingName, bytes, endedEarly});
  }

 private:
  DetectedEncoding Detect(platform::TextFile& file) {
    // Read in pieces, then again for its lines: a whole file held at once
    // would cost its size in fresh memory, and rereading a file the system
    // has just read costs far less.
    FileChunks chunks(file);
    const DetectedEncoding detected = DetectEncoding(chunks);
    file.Rewind();
    if (host_.WantsTrace()) host_.Trace(trace_.Format("-- encoding:", DetectedEncodingName(detected)));
    return detected;
  }

  static const EncodingRules& RulesFor(DetectedEncoding detected) {
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

  FinderHost& host_;
  const EncodingRules* fixedRules_;
  LiteralScanner scanner_;
  TraceText trace_;
};

}  // namespace

bool SourceFinder::Walk(const std::string& folder) {
  SourceFileScan scan(*host_, detect_ ? nullptr : rules_);
  FolderWalker walker(*host_, extensions_, scan);
  walker.SetExclusions(&exclusions_);
  const bool completed = walker.Walk(folder);
  failure_ = walker.Failure();
  return completed;
}

bool SourceFinder::WalkFile(const std::string& file) {
  SourceFileScan scan(*host_, detect_ ? nullptr : rules_);
  FolderWalker walker(*host_, extensions_, scan);
  const bool completed = walker.WalkFile(file);
  failure_ = walker.Failure();
  return completed;
}

std::string SourceFinder::GetEncodingName() const {
  if (detect_) return "AUTO";
  return rules_ ? std::string(rules_->name) : "No Encoding";
}

}  // namespace quillmark::engine
