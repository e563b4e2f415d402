#include "platform/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quillmark::platform {
namespace {

constexpr std::size_t kBufferSize = 256 * 1024;
constexpr char kEndOfFileByte = 0x1A;

}  // namespace

TextFile::~TextFile() { Close(); }

bool TextFile::Open(const std::string& path) {
  Close();
  // O_NONBLOCK so that a FIFO put in place of a file cannot hang the open.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat status {};
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  atEnd_ = false;
  buffer_.resize(kBufferSize);
  begin_ = end_ = 0;
  return true;
}

void TextFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  atEnd_ = true;
  begin_ = end_ = 0;
}

bool TextFile::Refill() {
  begin_ = end_ = 0;
  if (atEnd_ || fd_ < 0) return false;
  ssize_t count;
  do {
    count = ::read(fd_, buffer_.data(), buffer_.size());
  } while (count < 0 && errno == EINTR);
  if (count <= 0) {
    atEnd_ = true;
    return false;
  }
  end_ = static_cast<std::size_t>(count);
  if (const void* stop = std::memchr(buffer_.data(), kEndOfFileByte, end_)) {
    end_ = static_cast<std::size_t>(static_cast<const char*>(stop) - buffer_.data());
    atEnd_ = true;
  }
  return true;
}

bool TextFile::ReadLine(std::string& line) {
  line.clear();
  for (;;) {
    if (begin_ == end_ && !Refill()) return !line.empty();
    if (begin_ == end_) continue;  // 0x1A at the start of a fresh buffer
    const char* start = buffer_.data() + begin_;
    const std::size_t available = end_ - begin_;
    const void* found = std::memchr(start, '\n', available);
    if (found == nullptr) {
      line.append(start, available);
      begin_ = end_;
      continue;
    }
    const std::size_t length = static_cast<std::size_t>(static_cast<const char*>(found) - start);
    line.append(start, length);
    begin_ += length + 1;
    // The CR of a CR LF pair may have come in the previous buffer.
    if (!line.empty() && line.back() == '\r') line.pop_back();
    line.push_back('\n');
    return true;
  }
}

}  // namespace quillmark::platform
