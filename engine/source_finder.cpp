#include "engine/source_finder.h"

#include <cerrno>
#include <cstring>
#include <new>

#include "engine/folder_walker.h"
#include "engine/parallel_file_scan.h"
#include "engine/source_file_scan.h"

namespace quillmark::engine {

bool SourceFinder::Walk(const std::string& folder) {
  const EncodingRules* rules = detect_ ? nullptr : rules_;
  if (threads_ <= 1) {
    SourceFileScan scan(*host_, rules);
    FolderWalker walker(*host_, extensions_, scan);
    walker.SetExclusions(&exclusions_);
    const bool completed = walker.Walk(folder);
    failure_ = walker.Failure();
    return completed;
  }
  ParallelFileScan scan(*host_, rules, threads_);
  FolderWalker walker(scan, extensions_, scan);
  walker.SetExclusions(&exclusions_);
  const bool walked = walker.Walk(folder);
  // What the walk queued is told now. An end met in the telling comes
  // before anything the walk failed at, being earlier in its order.
  bool told = false;
  try {
    told = scan.Finish();
  } catch (const std::bad_alloc&) {
    failure_ = WalkFailure{WalkFailure::Kind::OutOfMemory, {}, std::strerror(ENOMEM)};
    return false;
  }
  failure_ = told ? walker.Failure() : scan.Failure();
  return told && walked;
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
