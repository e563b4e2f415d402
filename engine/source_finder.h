// The engine of one search, driven through this base whatever the encoding.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "engine/finder_host.h"

namespace quillmark::engine {

class SourceFinder {
 public:
  virtual ~SourceFinder() = default;

  // Walks `folder` and everything below it. True when the walk reached its
  // end (a folder that cannot be listed included); false when a stop
  // request, a quit during a pump or a file that cannot be opened ended it.
  virtual bool Walk(const std::string& folder) = 0;

  // The encoding's display name, or "No Encoding" without an encoding.
  virtual std::string GetEncodingName() const = 0;

  // The host is not owned and must outlive the walk.
  void SetHost(FinderHost* host) { host_ = host; }

  // Extensions without their dot, compared byte for byte with file names.
  void SetExtensions(std::vector<std::string> extensions) { extensions_ = std::move(extensions); }

 protected:
  FinderHost* host_ = nullptr;
  std::vector<std::string> extensions_;
};

}  // namespace quillmark::engine
