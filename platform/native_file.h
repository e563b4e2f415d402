// The system's handle of an open file or folder, and the few operations
// on it that differ between systems: a descriptor on POSIX, a HANDLE on
// Windows. Both fit in an intptr_t, and both use -1 for "none".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "platform/system_error.h"

namespace quillmark::platform {

using NativeHandle = std::intptr_t;
inline constexpr NativeHandle kNoHandle = -1;

void CloseNativeHandle(NativeHandle handle);

// An open handle, closed when dropped: how an opened file goes from the
// thread that opened it to the one that reads it.
class Descriptor {
 public:
  Descriptor() = default;
  explicit Descriptor(NativeHandle handle) : handle_(handle) {}
  Descriptor(Descriptor&& other) noexcept : handle_(std::exchange(other.handle_, kNoHandle)) {}
  Descriptor& operator=(Descriptor&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, kNoHandle));
    return *this;
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() { Reset(kNoHandle); }

  bool IsOpen() const { return handle_ != kNoHandle; }
  NativeHandle Get() const { return handle_; }
  NativeHandle Release() { return std::exchange(handle_, kNoHandle); }
  void Reset(NativeHandle handle) {
    if (handle_ != kNoHandle) CloseNativeHandle(handle_);
    handle_ = handle;
  }

 private:
  NativeHandle handle_ = kNoHandle;
};

class OpenFolder;

// Whether `path` names a regular file, links followed.
bool IsRegularFile(const std::string& path);

// Opens a file for reading. Neither waits on a FIFO or a device put where
// a file was expected.
Result<Descriptor> OpenFileForReading(const std::string& path);
Result<Descriptor> OpenFileForReadingIn(const OpenFolder& folder, const std::string& name);

// The size of the regular file behind `handle`; EISDIR for a folder and
// EINVAL for anything else.
Result<std::uint64_t> RegularFileSize(NativeHandle handle);

// Reads at most `room` bytes; 0 at the end of the file.
Result<std::size_t> ReadNative(NativeHandle handle, char* to, std::size_t room);
Status SeekToStart(NativeHandle handle);

}  // namespace quillmark::platform
