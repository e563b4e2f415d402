// Takes up a small file system's free space with one file, so that a test
// can make a write fail for want of room.
#pragma once

#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace quillmark::testing {

// Writes `folder`/filler until the disk is full, then gives back
// `spareBytes` of it. False when the disk never filled.
inline bool FillFileSystemLeaving(const std::string& folder, off_t spareBytes) {
  const std::string filler = folder + "/filler";
  const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const std::string block(4096, 'f');
  off_t size = 0;
  ssize_t count = 0;
  while ((count = ::write(fd, block.data(), block.size())) > 0) size += count;
  const bool full = count < 0 && errno == ENOSPC;
  const bool truncated = ::ftruncate(fd, size > spareBytes ? size - spareBytes : 0) == 0;
  ::close(fd);
  return full && truncated;
}

}  // namespace quillmark::testing
