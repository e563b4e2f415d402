#include "engine/folder_walker.h"

#include <fnmatch.h>

#include <cerrno>
#include <cstring>
#include <new>

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

FolderWalker::FolderWalker(FinderHost& host, const std::vector<std::string>& extensions, FileScan& scan)
    : host_(host), extensions_(extensions), scan_(scan) {}

template <class Body>
bool FolderWalker::Guarded(Body body) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    // What the failed allocation was for is gone with the unwinding; the
    // file's buffers go too, so that the host has room to report.
    std::string path = std::move(filePath_);
    file_.Release();
    levels_ = {};
    return Fail(WalkFailure::Kind::OutOfMemory, std::move(path), std::strerror(ENOMEM));
  }
}

bool FolderWalker::Walk(const std::string& folder) { return Guarded([&] { return WalkTree(folder); }); }

bool FolderWalker::WalkFile(const std::string& file) { return Guarded([&] { return WalkOneFile(file); }); }

bool FolderWalker::Fail(WalkFailure::Kind kind, std::string path, std::string reason) {
  failure_ = WalkFailure{kind, std::move(path), std::move(reason)};
  return false;
}

bool FolderWalker::WalkTree(const std::string& folder) {
  tracing_ = host_.WantsTrace();
  Trace("=== directory:", folder);
  std::optional<std::string> root = platform::MakeAbsolutePath(host_.GetRootPath());
  std::optional<std::string> absolute = platform::MakeAbsolutePath(folder);
  if (!root || !absolute) {
    // Without the current folder a relative root names nothing: walking
    // from "/" instead would search the whole system.
    std::string reason = std::strerror(errno);
    Trace("Error: failed to resolve the folder. (", reason, ")");
    host_.FlushTrace();
    return Fail(WalkFailure::Kind::CannotResolveRoot, folder, std::move(reason));
  }
  rootAbsolute_ = std::move(*root);
  path_ = std::move(*absolute);
  if (!Enter(platform::OpenFolder::Open(path_))) {
    DiagnoseUnlistedFolder();
    return FinishFolder() || Fail(WalkFailure::Kind::Stopped, {}, {});
  }

  while (!levels_.empty()) {
    Level& level = levels_.back();
    if (level.next == level.entries.size()) {
      Leave();
      if (!FinishFolder()) return Fail(WalkFailure::Kind::Stopped, {}, {});
      continue;
    }
    if (host_.IsStopRequested()) return Fail(WalkFailure::Kind::Stopped, {}, {});
    const platform::FolderEntry& entry = level.entries[level.next++];
    switch (entry.kind) {
      case platform::EntryKind::Folder: {
        if (onWalk_.contains(entry.identity) || IsExcluded(entry.name)) break;
        const std::size_t parentLength = path_.size();
        if (path_.back() != '/') path_ += '/';
        path_ += entry.name;
        Trace("=== directory:", path_);
        // Opened by name from the open parent: a path would be resolved
        // again from the root at every level.
        auto child = current_ ? current_->OpenChild(entry.name) : platform::OpenFolder::Open(path_);
        if (!Enter(std::move(child))) {
          DiagnoseUnlistedFolder();
          path_.resize(parentLength);
          if (!FinishFolder()) return Fail(WalkFailure::Kind::Stopped, {}, {});
        }
        break;
      }
      case platform::EntryKind::File:
        if (!HasListedExtension(entry.name, extensions_) || IsExcluded(entry.name)) break;
        if (!ScanEntryFile(entry.name)) return false;
        break;
      case platform::EntryKind::Other:
        break;
    }
  }
  return true;
}

bool FolderWalker::WalkOneFile(const std::string& file) {
  tracing_ = host_.WantsTrace();
  std::optional<std::string> absolute = platform::MakeAbsolutePath(file);
  if (!absolute) {
    std::string reason = std::strerror(errno);
    Trace("Error: failed to resolve the folder. (", reason, ")");
    host_.FlushTrace();
    return Fail(WalkFailure::Kind::CannotResolveRoot, file, std::move(reason));
  }
  // The file's folder is the root, so that its relative path is its name.
  const std::size_t slash = absolute->rfind('/');
  rootAbsolute_ = slash == 0 ? std::string("/") : absolute->substr(0, slash);
  path_ = rootAbsolute_;
  current_.reset();
  const bool scanned = ScanEntryFile(absolute->substr(slash + 1));
  host_.FlushTrace();
  return scanned;
}

bool FolderWalker::IsExcluded(const std::string& name) const {
  if (!exclusions_ || exclusions_->empty()) return false;
  const std::string relative = platform::RelativePath(rootAbsolute_, platform::JoinPath(path_, name));
  for (const std::string& pattern : *exclusions_) {
    // "**" is the way to cross folders: with it, every "*" matches "/".
    const int flags = pattern.find("**") == std::string::npos ? FNM_PATHNAME : 0;
    if (fnmatch(pattern.c_str(), relative.c_str(), flags) == 0 || fnmatch(pattern.c_str(), name.c_str(), flags) == 0)
      return true;
  }
  return false;
}

bool FolderWalker::Enter(std::optional<platform::OpenFolder> folder) {
  std::optional<platform::FolderListing> listing;
  if (folder) listing = folder->List();
  if (!listing) return false;
  host_.FolderListed();
  onWalk_.insert(listing->identity);
  levels_.push_back(Level{std::move(listing->entries), 0, path_.size(), listing->identity});
  current_ = std::move(folder);
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
  if (child) current_ = child->OpenParent();
  if (!current_ || current_->Identity() != parent.identity) current_ = platform::OpenFolder::Open(path_);
  if (current_ && current_->Identity() != parent.identity) current_.reset();
}

bool FolderWalker::ScanEntryFile(const std::string& name) {
  const std::size_t folderLength = path_.size();
  if (path_.back() != '/') path_ += '/';
  path_ += name;
  Trace("-- analyze:", path_);
  const bool opened = current_ ? file_.OpenAt(current_->Descriptor(), name) : file_.Open(path_);
  if (!opened) {
    const std::string reason = std::strerror(errno);
    Trace("Error: failed to open the file.");
    host_.Diagnose(Diagnostic{Diagnostic::Kind::CannotOpenFile, RelativeToRoot(), 0, reason});
    Fail(WalkFailure::Kind::CannotOpenFile, path_, reason);
    path_.resize(folderLength);
    return false;
  }
  filePath_ = path_;
  std::string relativePath = RelativeToRoot();
  path_.resize(folderLength);
  scan_.ScanFile(file_, std::move(relativePath), filePath_);
  file_.Close();
  filePath_.clear();
  return true;
}

std::string FolderWalker::RelativeToRoot() const {
  return path_ == rootAbsolute_ ? std::string() : platform::RelativePath(rootAbsolute_, path_);
}

void FolderWalker::DiagnoseUnlistedFolder() {
  const std::string reason = std::strerror(errno);
  host_.Diagnose(Diagnostic{Diagnostic::Kind::CannotListFolder, RelativeToRoot(), 0, reason});
}

bool FolderWalker::FinishFolder() {
  host_.FlushTrace();
  return host_.PumpMessages();
}

}  // namespace quillmark::engine
