// The walk over a folder tree: lists each folder in byte order of its
// names, depth first, skips folders already on the walk, picks the files
// whose extension is listed, opens them and hands each to a file scan.
// It keeps its own stack of folders rather than recursing, and the path
// of the folder being listed once, so that depth costs neither stack nor
// memory beyond one listing per level.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "engine/finder_host.h"
#include "engine/trace_text.h"
#include "engine/walk_failure.h"
#include "platform/folder_listing.h"
#include "platform/open_folder.h"
#include "platform/text_file.h"

namespace quillmark::engine {

// What the walk does with each file it has opened.
class FileScan {
 public:
  virtual ~FileScan() = default;
  // Reads `file` to its end or to the end of what may be scanned of it;
  // `path` is its full path.
  virtual void ScanFile(platform::TextFile& file, std::string relativePath, const std::string& path) = 0;
};

// Whether `fileName` has an extension that equals one of `extensions`
// byte for byte: what follows its last dot, never empty.
bool HasListedExtension(std::string_view fileName, const std::vector<std::string>& extensions);

class FolderWalker {
 public:
  // None of the three is owned; all must outlive the walk.
  FolderWalker(FinderHost& host, const std::vector<std::string>& extensions, FileScan& scan);

  // Walks `folder` and everything below it. True when the walk reached its
  // end (a folder that cannot be listed included); false when a stop
  // request, a quit during a pump, a file that cannot be opened, a root
  // that cannot be resolved or a lack of memory ended it; Failure() then
  // tells which. Never throws.
  bool Walk(const std::string& folder);
  // Scans the one file `file` as the walk would, its name as its relative
  // path; the same outcomes as Walk.
  bool WalkFile(const std::string& file);
  const WalkFailure& Failure() const { return failure_; }
  // Glob patterns (fnmatch) for the folders and files not to walk, each
  // tried on the path relative to the root and on the name. Not owned.
  void SetExclusions(const std::vector<std::string>* patterns) { exclusions_ = patterns; }

 private:
  struct Level {
    std::vector<platform::FolderEntry> entries;
    std::size_t next = 0;        // the entry to take next
    std::size_t pathLength = 0;  // of path_ while this folder is listed
    platform::FileIdentity identity;
  };
  struct IdentityHash {
    std::size_t operator()(const platform::FileIdentity& id) const noexcept {
      return std::hash<std::uint64_t>()(id.inode * 0x9E3779B97F4A7C15ull ^ id.device);
    }
  };

  bool WalkTree(const std::string& folder);
  bool WalkOneFile(const std::string& file);
  // Runs a walk, turning a lack of memory into its failure.
  template <class Body>
  bool Guarded(Body body);
  // Whether the entry `name` of the folder at path_ is excluded.
  bool IsExcluded(const std::string& name) const;
  bool Fail(WalkFailure::Kind kind, std::string path, std::string reason);
  // Lists the folder at path_ (open as `folder` when it could be opened)
  // and makes it the innermost level; false when it cannot be listed.
  bool Enter(std::optional<platform::OpenFolder> folder);
  // Leaves the innermost level and opens its parent again.
  void Leave();
  bool ScanEntryFile(const std::string& name);
  // path_ relative to the root, as findings and diagnostics name it.
  std::string RelativeToRoot() const;
  // Reports that the folder at path_ cannot be listed, errno telling why.
  void DiagnoseUnlistedFolder();
  bool FinishFolder();
  template <class... Parts>
  void Trace(const Parts&... parts) {
    if (tracing_) host_.Trace(trace_.Format(parts...));
  }

  FinderHost& host_;
  const std::vector<std::string>& extensions_;
  const std::vector<std::string>* exclusions_ = nullptr;
  FileScan& scan_;
  bool tracing_ = true;
  TraceText trace_;
  std::string rootAbsolute_;  // the root, as relative paths start from it
  std::string path_;          // the folder being listed, absolute and normalised
  std::vector<Level> levels_;  // the folders being listed, outermost first
  std::unordered_set<platform::FileIdentity, IdentityHash> onWalk_;
  // The innermost folder, open; absent when it could not be opened again
  // on the way back up, so that its entries are opened by path.
  std::optional<platform::OpenFolder> current_;
  platform::TextFile file_;  // the file being scanned, its buffer reused
  std::string filePath_;     // its full path while it is scanned
  WalkFailure failure_;
};

}  // namespace quillmark::engine
