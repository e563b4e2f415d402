#include "engine/folder_walker.h"

#include <cassert>
#include <new>

#include "platform/glob.h"
#include "platform/path.h"

namespace quillmark::engine {

bool HasListedExtension(std::string_view fileName, const std::vector<std::string>& extensions) {
  const std::size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string_view extension = fileName.substr(dot + 1);
  if (extension.empty()) return false;
  for (const std::string& listed : extensions)
    if (listed == extension) return true;
  return false;
}

FolderWalker::FolderWalker(const SearchOptions& options) : options_(options), out_(options) {}

bool FolderWalker::Next(WalkItem& item) {
  if (finished_) return false;
  out_.SetReport(item.report);
  try {
    return Step(item);
  } catch (const std::bad_alloc&) {
    // What the failed allocation was for is gone with the unwinding; the
    // listings go too, so that the front end has room to report.
    levels_ = {};
    opener_.Release();
    item.report.Clear();
    item.file = {};
    End(item, WalkFailure::OutOfMemory());
    return true;
  }
}

void FolderWalker::End(WalkItem& item, WalkFailure failure) {
  item.report.failure = std::move(failure);
  finished_ = true;
}

bool FolderWalker::Step(WalkItem& item) {
  if (!started_) {
    started_ = true;
    if (options_.rootIsFile) StartWithFile(item);
    else Start(item);
    return true;
  }
  while (!levels_.empty()) {
    Level& level = levels_.back();
    if (level.next == level.entries.size()) {
      Leave();
      continue;
    }
    if (options_.stop.stop_requested()) break;
    const platform::FolderEntry& entry = level.entries[level.next++];
    switch (entry.kind) {
      case platform::EntryKind::Folder: {
        if (onWalk_.contains(entry.identity) || IsExcluded(entry.name)) break;
        const std::size_t parentLength = path_.size();
        if (path_.back() != platform::kPathSeparator) path_ += platform::kPathSeparator;
        path_ += entry.name;
        out_.Trace("=== directory:", path_);
        // Opened by name from the open parent: a path would be resolved
        // again from the root at every level.
        if (!Enter(current_ ? current_->OpenChild(entry.name) : platform::OpenFolder::Open(path_), item))
          path_.resize(parentLength);
        return true;
      }
      case platform::EntryKind::File:
        if (!HasListedExtension(entry.name, options_.extensions) || IsExcluded(entry.name)) break;
        OpenFile(entry.name, item);
        return true;
      case platform::EntryKind::Other:
        break;
    }
  }
  finished_ = true;
  return false;
}

std::optional<std::string> FolderWalker::ResolveRoot(WalkItem& item) {
  platform::Result<std::string> absolute = platform::MakeAbsolutePath(options_.root);
  if (absolute) return std::move(*absolute);
  // Without the current folder a relative root names nothing: walking
  // from "/" instead would search the whole system.
  const std::string& reason = absolute.error().reason;
  out_.Trace("Error: failed to resolve the folder. (", reason, ")");
  End(item, WalkFailure{WalkFailure::Kind::CannotResolveRoot, options_.root, reason});
  return std::nullopt;
}

void FolderWalker::Start(WalkItem& item) {
  out_.Trace("=== directory:", options_.root);
  std::optional<std::string> absolute = ResolveRoot(item);
  if (!absolute) return;
  rootAbsolute_ = *absolute;
  path_ = std::move(*absolute);
  if (!Enter(platform::OpenFolder::Open(path_), item)) finished_ = true;
}

void FolderWalker::StartWithFile(WalkItem& item) {
  std::optional<std::string> absolute = ResolveRoot(item);
  if (!absolute) return;
  // The file's folder is the root, so that its relative path is its name.
  rootAbsolute_ = platform::ParentFolder(*absolute);
  path_ = rootAbsolute_;
  OpenFile(absolute->substr(absolute->rfind(platform::kPathSeparator) + 1), item);
  finished_ = true;
}

bool FolderWalker::IsExcluded(const std::string& name) const {
  if (options_.exclusions.empty()) return false;
  const std::string relative = platform::RelativePath(rootAbsolute_, platform::JoinPath(path_, name));
  for (const std::string& pattern : options_.exclusions)
    if (platform::MatchesGlob(pattern, relative) || platform::MatchesGlob(pattern, name)) return true;
  return false;
}

bool FolderWalker::Enter(platform::Result<platform::OpenFolder> folder, WalkItem& item) {
  platform::Result<platform::FolderListing> listing = folder ? folder->List() : folder.error();
  if (!listing) {
    out_.Diagnose(Diagnostic{Diagnostic::Kind::CannotListFolder, RelativeToRoot(), 0, listing.error().reason});
    return false;
  }
  item.report.folderListed = true;
  onWalk_.insert(listing->identity);
  levels_.push_back(Level{std::move(listing->entries), 0, path_.size(), listing->identity});
  current_ = std::move(*folder);
  return true;
}

void FolderWalker::Leave() {
  const Level& left = levels_.back();
  onWalk_.erase(left.identity);
  std::optional<platform::OpenFolder> child = std::move(current_);
  levels_.pop_back();
  current_.reset();
  if (levels_.empty()) return;
  const Level& parent = levels_.back();
  path_.resize(parent.pathLength);
  // ".." is the parent on the walk unless a link led into the child; the
  // identity tells, and the path is the way back otherwise.
  if (child) {
    if (platform::Result<platform::OpenFolder> up = child->OpenParent()) current_ = std::move(*up);
  }
  if (!current_ || current_->Identity() != parent.identity) {
    current_.reset();
    if (platform::Result<platform::OpenFolder> again = platform::OpenFolder::Open(path_)) current_ = std::move(*again);
  }
  if (current_ && current_->Identity() != parent.identity) current_.reset();
}

void FolderWalker::OpenFile(const std::string& name, WalkItem& item) {
  const std::size_t folderLength = path_.size();
  if (path_.back() != platform::kPathSeparator) path_ += platform::kPathSeparator;
  path_ += name;
  out_.Trace("-- analyze:", path_);
  const platform::Status opened = current_ ? opener_.OpenIn(*current_, name) : opener_.Open(path_);
  std::string relativePath = RelativeToRoot();
  if (!opened) {
    const std::string& reason = opened.error().reason;
    out_.Trace("Error: failed to open the file.");
    out_.Diagnose(Diagnostic{Diagnostic::Kind::CannotOpenFile, std::move(relativePath), 0, reason});
    End(item, WalkFailure{WalkFailure::Kind::CannotOpenFile, path_, reason});
  } else {
    item.fileBytes = opener_.Size();
    item.file = opener_.TakeDescriptor();
    assert(item.file.IsOpen());
    item.path = path_;
    item.relativePath = std::move(relativePath);
  }
  path_.resize(folderLength);
}

std::string FolderWalker::RelativeToRoot() const {
  return path_ == rootAbsolute_ ? std::string() : platform::RelativePath(rootAbsolute_, path_);
}

}  // namespace quillmark::engine
