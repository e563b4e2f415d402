// Reading a source file line by line in text mode, as the Windows runtime
// does: CR LF arrives as LF, a lone CR stays, byte 0x1A ends the file.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quillmark::platform {

class TextFile {
 public:
  TextFile() = default;
  ~TextFile();
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  // Opens a regular file for reading. False when it cannot be opened or is
  // not a regular file (never blocks on a FIFO).
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }

  // Reads the next whole line, its LF included when it has one, whatever
  // its length. False when no byte is left.
  bool ReadLine(std::string& line);

 private:
  bool Refill();

  int fd_ = -1;
  bool atEnd_ = false;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
};

}  // namespace quillmark::platform
