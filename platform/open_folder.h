// An open folder: its entries are listed, and its files and subfolders
// opened, relative to it, so that a walk never resolves a long path again
// for every entry however deep it goes.
#pragma once

#include <string>
#include <string_view>

#include "platform/folder_listing.h"
#include "platform/system_error.h"

namespace quillmark::platform {

class OpenFolder {
 public:
  // The folder at `path` (of any length), or why it cannot be opened as a
  // folder.
  static Result<OpenFolder> Open(const std::string& path);

  OpenFolder(OpenFolder&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  OpenFolder& operator=(OpenFolder&& other) noexcept;
  OpenFolder(const OpenFolder&) = delete;
  OpenFolder& operator=(const OpenFolder&) = delete;
  ~OpenFolder();

  // The subfolder `name`, a link to a folder followed.
  Result<OpenFolder> OpenChild(std::string_view name) const;
  // The folder that ".." names: the logical parent only when this folder
  // was not reached through a link, which the caller checks by identity.
  Result<OpenFolder> OpenParent() const { return OpenChild(".."); }

  FileIdentity Identity() const;
  // The entries, as ListFolder gives them, or why they cannot be read.
  Result<FolderListing> List() const;
  int Descriptor() const { return fd_; }

 private:
  explicit OpenFolder(int fd) : fd_(fd) {}
  int fd_;
};

}  // namespace quillmark::platform
