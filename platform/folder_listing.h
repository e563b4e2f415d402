// Folder listing: the entries of one folder, sorted, with their kinds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/system_error.h"

namespace quillmark::platform {

// Device and inode: what makes two paths the same folder.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

enum class EntryKind {
  Folder,  // a folder, or a link that leads to one
  File,    // a regular file, or an entry whose status cannot be read
  Other,   // FIFO, socket, device: never to be opened
};

struct FolderEntry {
  std::string name;
  EntryKind kind = EntryKind::File;
  FileIdentity identity;  // set for folders only
};

struct FolderListing {
  FileIdentity identity;             // of the listed folder itself
  std::vector<FolderEntry> entries;  // ascending byte order, without "." and ".."
};

// Lists `folder`, or tells why it cannot be listed (missing, not a folder,
// no access).
Result<FolderListing> ListFolder(const std::string& folder);


}  // namespace quillmark::platform
