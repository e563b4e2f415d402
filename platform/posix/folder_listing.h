// Listing a folder open as a descriptor, which the call takes over and
// closes.
#pragma once

#include "platform/folder_listing.h"

namespace quillmark::platform {

Result<FolderListing> ListFolderDescriptor(int fd);

}  // namespace quillmark::platform
