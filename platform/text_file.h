// Reading a source file line by line in text mode, as the Windows runtime
// does: CR LF arrives as LF, a lone CR stays, byte 0x1A ends the file.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace quillmark::platform {

class TextFile {
 public:
  TextFile() = default;
  ~TextFile();
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  // Opens a regular file for reading; an open file is closed first, and
  // the buffer is kept, so one object can read many files cheaply. False when it cannot be opened or is
  // not a regular file (never blocks on a FIFO).
  bool Open(const std::string& path);
  // The same for the file `name` of the folder open as `folderFd`.
  bool OpenAt(int folderFd, const std::string& name);
  void Close();
  // Closes the file and gives its buffers back, however large they grew.
  void Release();
  bool IsOpen() const { return fd_ >= 0; }

  // Reads the next whole line, its LF included when it has one, whatever
  // its length. False when no byte is left. The view stays valid until the
  // next call: it points into the read buffer when the line lies in it
  // whole, so most lines are never copied.
  bool ReadLine(std::string_view& line) {
    longLine_.clear();
    return TakeLineFromBuffer(line) || ReadLineAcrossReads(line);
  }
  bool ReadLine(std::string& line);

  // Reads the rest of the file into memory, so that its bytes can be
  // looked at before its lines are read: what ReadLine would deliver, but
  // with CR LF not yet made LF. The view stays valid until the next call.
  std::string_view LoadRest();

  // False when the last line read surely holds no NUL byte, which spares
  // a search of every line in files that have none.
  bool MayHoldNul() const { return bufferHoldsNul_ || !longLine_.empty(); }

 private:
  bool AdoptDescriptor(int fd);
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

  int fd_ = -1;
  bool atEnd_ = false;
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_ = 0;  // grows only for LoadRest, to the largest file
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool bufferHoldsNul_ = false;
  std::string longLine_;  // a line that spans reads of the buffer
};

}  // namespace quillmark::platform
