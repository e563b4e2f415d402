#include "platform/folder_listing.h"

#include "platform/open_folder.h"

namespace quillmark::platform {

Result<FolderListing> ListFolder(const std::string& folder) {
  Result<OpenFolder> opened = OpenFolder::Open(folder);
  if (!opened) return opened.error();
  return opened->List();
}

}  // namespace quillmark::platform
