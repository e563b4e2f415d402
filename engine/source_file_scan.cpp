#include "engine/source_file_scan.h"

#include "engine/encoding_detection.h"

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

SourceFileScan::SourceFileScan(FinderHost& host, const EncodingRules* fixedRules)
    : host_(host), fixedRules_(fixedRules), scanner_(host, fixedRules ? *fixedRules : ShiftJisRules()) {}

void SourceFileScan::ScanFile(platform::TextFile& file, std::string relativePath, const std::string&) {
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
    if (cancel_ && cancel_->load(std::memory_order_relaxed)) return;
    bytes += line.size();
    if (!scanner_.ScanLine(line, inComment, file.MayHoldNul())) {
      endedEarly = true;
      break;
    }
    scanner_.NextLine();
  }
  host_.FileScanned(ScannedFile{encodingName, bytes, endedEarly});
}

DetectedEncoding SourceFileScan::Detect(platform::TextFile& file) {
  // Read in pieces, then again for its lines: a whole file held at once
  // would cost its size in fresh memory, and rereading a file the system
  // has just read costs far less.
  FileChunks chunks(file);
  const DetectedEncoding detected = DetectEncoding(chunks);
  file.Rewind();
  if (host_.WantsTrace()) host_.Trace(trace_.Format("-- encoding:", DetectedEncodingName(detected)));
  return detected;
}

}  // namespace quillmark::engine
