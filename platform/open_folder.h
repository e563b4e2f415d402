// An open folder: its entries are listed, and its files and subfolders
// opened, relative to it, so that a walk never resolves a long path again
// for every entry however deep it goes.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "platform/folder_listing.h"
#include "platform/native_file.h"
#include "platform/system_error.h"

namespace quillmark::platform {

class OpenFolder {
 public:
  // The folder at `path` (of any length), or why it cannot be opened as a
  // folder.
  static Result<OpenFolder> Open(const std::string& path);

  OpenFolder(OpenFolder&&) noexcept = default;
  OpenFolder& operator=(OpenFolder&&) noexcept = default;

  // A subfolder opened through this one; ".." is the parent.
  Result<OpenFolder> OpenChild(std::string_view name) const;
  Result<OpenFolder> OpenParent() const { return OpenChild(".."); }

  FileIdentity Identity() const;
  Result<FolderListing> List() const;

  NativeHandle Handle() const { return handle_.Get(); }
  // Where the folder was opened; kept where the system opens by path.
  const std::string& Path() const { return path_; }

 private:
  OpenFolder(Descriptor handle, std::string path) : handle_(std::move(handle)), path_(std::move(path)) {}

  Descriptor handle_;
  std::string path_;
};

}  // namespace quillmark::platform
