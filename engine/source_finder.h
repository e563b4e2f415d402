// The engine of one search: walks a tree (or scans one file) and hands a
// report of every entry to its sink, in the walk's order, whatever the
// number of threads that scan.
#pragma once

#include <string>

#include "engine/search_options.h"
#include "engine/search_sink.h"
#include "engine/walk_failure.h"

namespace quillmark::engine {

class SourceFinder {
 public:
  // The sink is not owned and must outlive the walk.
  SourceFinder(SearchOptions options, SearchSink& sink) : options_(std::move(options)), sink_(sink) {}

  // Walks the options' root and everything below it. True when the walk
  // reached its end (a folder that cannot be listed included); false when a
  // stop, a file that cannot be opened or read, a root that cannot be
  // resolved or a lack of memory ended it: Failure() tells which. An engine
  // walks once; it never throws.
  bool Walk();
  const WalkFailure& Failure() const { return failure_; }

  // The encoding's display name: "SJIS-JP", "EUC-JP", "UTF-8" or "AUTO".
  std::string GetEncodingName() const { return std::string(options_.encoding.name); }

 private:
  SearchOptions options_;
  SearchSink& sink_;
  bool walked_ = false;
  WalkFailure failure_;
};

}  // namespace quillmark::engine
