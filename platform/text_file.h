// Reading a source file line by line in text mode, as the Windows runtime
// does: CR LF arrives as LF, a lone CR stays, byte 0x1A ends the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/native_file.h"
#include "platform/system_error.h"

namespace quillmark::platform {


class TextFile {
 public:
  TextFile() = default;
  ~TextFile();
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  // Opens a regular file for reading; an open file is closed first, and
  // the buffer is kept, so one object can read many files cheaply. The
  // error when it cannot be opened or is not a regular file (never blocks
  // on a FIFO).
  Status Open(const std::string& path);
  // The same for the file `name` of the folder open as `folderFd`.
  Status OpenIn(const OpenFolder& folder, const std::string& name);
  // Reads the file open as `fd` from where it stands; an error, with `fd`
  // closed, when it is no regular file.
  Status Adopt(Descriptor fd);
  // Gives up the open file without closing it, for another TextFile to
  // adopt; none when none is open.
  Descriptor TakeDescriptor();
  void Close();
  // Closes the file and gives its buffers back, however large they grew.
  void Release();
  bool IsOpen() const { return file_.IsOpen(); }
  // The open file's size when it was opened.
  std::uint64_t Size() const { return size_; }

  // Reads the next whole line, its LF included when it has one, whatever
  // its length. False when no byte is left, or when a read failed:
  // ReadStatus() tells which. The view stays valid until the
  // next call: it points into the read buffer when the line lies in it
  // whole, so most lines are never copied.
  bool ReadLine(std::string_view& line) {
    linesTaken_ = true;
    longLine_.clear();
    return TakeLineFromBuffer(line) || ReadLineAcrossReads(line);
  }
  bool ReadLine(std::string& line);

  // The next piece of the file's bytes as text-mode reading ends them (at
  // 0x1A), with CR LF not yet made LF; false at the end. For looking at a
  // file's bytes before its lines are read: Rewind, then read the lines.
  // The view stays valid until the next call.
  bool ReadChunk(std::string_view& chunk);

  // Back to the file's first byte, or the error when the file cannot seek.
  // A file that fits the buffer whole is not read again.
  Status Rewind();

  // The error of the read that ended the file early, if one did: a file is
  // read to its end only while this is ok.
  const Status& ReadStatus() const { return readStatus_; }

  // False when the last line read surely holds no NUL byte, which spares
  // a search of every line in files that have none.
  bool MayHoldNul() const { return bufferHoldsNul_ || !longLine_.empty(); }

 private:
  bool Refill();
  // Reads at `end_` into the free space; false at the end of the file.
  bool ReadMore();
  bool ReadLineAcrossReads(std::string_view& line);

  // The common case, kept inline: the next line lies whole in the buffer.
  bool TakeLineFromBuffer(std::string_view& line) {
    char* start = buffer_.get() + begin_;
    const auto* found = begin_ < end_ ? static_cast<char*>(std::memchr(start, '\n', end_ - begin_)) : nullptr;
    if (found == nullptr) return false;
    const auto length = static_cast<std::size_t>(found - start);
    begin_ += length + 1;
    // CR LF becomes LF in place: the LF moves onto the CR.
    if (length > 0 && start[length - 1] == '\r') {
      start[length - 1] = '\n';
      line = std::string_view(start, length);
    } else {
      line = std::string_view(start, length + 1);
    }
    return true;
  }

  Descriptor file_;
  std::uint64_t size_ = 0;
  bool atEnd_ = false;
  std::unique_ptr<char[]> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool bufferHoldsNul_ = false;
  Status readStatus_;
  bool bufferFromStart_ = false;  // the buffer's first byte is the file's
  bool linesTaken_ = false;       // since the open or the last rewind
  std::string longLine_;  // a line that spans reads of the buffer
};

}  // namespace quillmark::platform
