// The walk over a folder tree, one entry at a time: lists each folder in
// byte order of its names, depth first, skips folders already on the walk,
// picks the files whose extension is listed and opens them. Each entry
// that gives a report (a folder entered, a file opened or not) is handed
// out as a work item; a file's item carries it open, for a scanner to read.
// The walk keeps its own stack of folders rather than recursing, and the
// path of the folder being listed once, so that depth costs neither stack
// nor memory beyond one listing per level.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "engine/file_report.h"
#include "engine/report_builder.h"
#include "engine/search_options.h"
#include "platform/folder_listing.h"
#include "platform/open_folder.h"
#include "platform/text_file.h"

namespace quillmark::engine {

// Whether `fileName` has an extension that equals one of `extensions`
// byte for byte: what follows its last dot, never empty.
bool HasListedExtension(std::string_view fileName, const std::vector<std::string>& extensions);

// One entry of the walk, as the walker hands it out.
struct WalkItem {
  FileReport report;  // complete, unless `file` is open
  // A file opened and left to scan, with its size when opened, its full
  // path and its path relative to the root.
  platform::Descriptor file;
  std::uint64_t fileBytes = 0;
  std::string path;
  std::string relativePath;
};

class FolderWalker {
 public:
  // The options are not owned and must outlive the walker.
  explicit FolderWalker(const SearchOptions& options);

  // Fills `item`, empty, with the walk's next entry; false once the walk is
  // over: every entry taken, a stop requested, or an entry that ends the
  // walk (a root that cannot be resolved, a file that cannot be opened, a
  // lack of memory) handed out. Never throws.
  bool Next(WalkItem& item);

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

  bool Step(WalkItem& item);
  void Start(WalkItem& item);
  void StartWithFile(WalkItem& item);
  // The root made absolute; nothing, with the walk ended in the item, when
  // it cannot be.
  std::optional<std::string> ResolveRoot(WalkItem& item);
  // Whether the entry `name` of the folder at path_ is excluded.
  bool IsExcluded(const std::string& name) const;
  // Lists the folder at path_ (open as `folder` when it could be opened)
  // and makes it the innermost level; false, with the diagnostic in the
  // item, when it cannot be listed.
  bool Enter(platform::Result<platform::OpenFolder> folder, WalkItem& item);
  // Leaves the innermost level and opens its parent again.
  void Leave();
  void OpenFile(const std::string& name, WalkItem& item);
  // path_ relative to the root, as findings and diagnostics name it.
  std::string RelativeToRoot() const;
  void End(WalkItem& item, WalkFailure failure);

  const SearchOptions& options_;
  ReportBuilder out_;
  bool started_ = false;
  bool finished_ = false;
  std::string rootAbsolute_;  // the root, as relative paths start from it
  std::string path_;          // the folder being listed, absolute and normalised
  std::vector<Level> levels_;  // the folders being listed, outermost first
  std::unordered_set<platform::FileIdentity, IdentityHash> onWalk_;
  // The innermost folder, open; absent when it could not be opened again
  // on the way back up, so that its entries are opened by path.
  std::optional<platform::OpenFolder> current_;
  platform::TextFile opener_;  // opens each file, for a scanner to take over
};

}  // namespace quillmark::engine
