#include "engine/source_finder.h"

#include <cassert>
#include <new>

#include "engine/folder_walker.h"
#include "engine/scan_pipeline.h"

namespace quillmark::engine {

bool SourceFinder::Walk() {
  // The walk's reports go to its sink once: a second walk would tell them again.
  assert(!walked_);
  walked_ = true;
  try {
    FolderWalker walker(options_);
    ScanPipeline pipeline(options_, sink_);
    failure_ = pipeline.Run(walker);
  } catch (const std::bad_alloc&) {
    failure_ = WalkFailure::OutOfMemory();
  }
  return failure_.kind == WalkFailure::Kind::None;
}

}  // namespace quillmark::engine
