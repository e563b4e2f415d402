// The engine of one search: walks a tree and scans each source file by the
// rules of one encoding, or of the encoding detected for that file.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "engine/encoding_rules.h"
#include "engine/finder_host.h"
#include "engine/walk_failure.h"

namespace quillmark::engine {

// Asks a SourceFinder to choose each file's encoding by its bytes.
struct DetectPerFile {};

class SourceFinder {
 public:
  // Reads every file by `rules`. Null makes an engine without an encoding,
  // which can name none and must not walk.
  explicit SourceFinder(const EncodingRules* rules) : rules_(rules) {}
  explicit SourceFinder(DetectPerFile) : detect_(true) {}

  // Walks `folder` and everything below it. True when the walk reached its
  // end (a folder that cannot be listed included); false when a stop
  // request, a quit during a pump, a file that cannot be opened, a root
  // that cannot be resolved or a lack of memory ended it. An engine walks
  // once; it never throws.
  bool Walk(const std::string& folder);
  // Scans the one file `file` instead of walking, its name as its relative
  // path; the same outcomes as Walk.
  bool WalkFile(const std::string& file);
  // What ended the walk early, if anything did.
  const WalkFailure& Failure() const { return failure_; }

  // The encoding's display name: "SJIS-JP", "EUC-JP", "UTF-8", "AUTO", or
  // "No Encoding" without an encoding.
  std::string GetEncodingName() const;

  // How many threads scan files during a walk, the walk's own included;
  // 1, the default, scans each file on the walk's thread at its turn. The
  // host hears the same calls in the same order either way, all on the
  // walk's thread.
  void SetThreads(unsigned threads) { threads_ = threads; }

  // The host is not owned and must outlive the walk.
  void SetHost(FinderHost* host) { host_ = host; }

  // Extensions without their dot, compared byte for byte with file names.
  void SetExtensions(std::vector<std::string> extensions) { extensions_ = std::move(extensions); }

  // Glob patterns (fnmatch) for the folders and files the walk passes
  // over, each tried on the path relative to the root and on the name; a
  // pattern holding "**" lets "*" match "/".
  void SetExclusions(std::vector<std::string> patterns) { exclusions_ = std::move(patterns); }

 private:
  FinderHost* host_ = nullptr;
  std::vector<std::string> extensions_;
  std::vector<std::string> exclusions_;
  const EncodingRules* rules_ = nullptr;
  bool detect_ = false;
  unsigned threads_ = 1;
  WalkFailure failure_;
};

}  // namespace quillmark::engine
