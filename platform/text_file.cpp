#include "platform/text_file.h"

#include <cerrno>
#include <cstring>

namespace quillmark::platform {
namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
constexpr char kEndOfFileByte = 0x1A;

}  // namespace

TextFile::~TextFile() { Close(); }

Status TextFile::Open(const std::string& path) {
  Result<Descriptor> opened = OpenFileForReading(path);
  if (!opened) return opened.error();
  return Adopt(std::move(*opened));
}

Status TextFile::OpenIn(const OpenFolder& folder, const std::string& name) {
  Result<Descriptor> opened = OpenFileForReadingIn(folder, name);
  if (!opened) return opened.error();
  return Adopt(std::move(*opened));
}

Status TextFile::Adopt(Descriptor descriptor) {
  Close();
  if (!descriptor.IsOpen()) return SystemError::FromCode(EBADF);
  // What the walk takes for a file may be a FIFO or a device by now.
  const Result<std::uint64_t> size = RegularFileSize(descriptor.Get());
  if (!size) return size.error();
  file_ = std::move(descriptor);
  size_ = *size;
  atEnd_ = false;
  bufferFromStart_ = true;
  bufferHoldsNul_ = false;
  linesTaken_ = false;
  readStatus_ = Status();
  if (!buffer_) {
    buffer_.reset(new char[kBufferSize]);
  }
  begin_ = end_ = 0;
  return Status();
}

Descriptor TextFile::TakeDescriptor() {
  Descriptor taken = std::move(file_);
  Close();
  return taken;
}

void TextFile::Close() {
  file_.Reset(kNoHandle);
  atEnd_ = true;
  begin_ = end_ = 0;
}

void TextFile::Release() {
  Close();
  buffer_.reset();
  std::string().swap(longLine_);
}

bool TextFile::ReadMore() {
  if (atEnd_ || !file_.IsOpen()) return false;
  const Result<std::size_t> count = ReadNative(file_.Get(), buffer_.get() + end_, kBufferSize - end_);
  if (!count || *count == 0) {
    // A failed read is no end of the file: what follows is not scanned,
    // and the reader must be told.
    if (!count) readStatus_ = count.error();
    atEnd_ = true;
    return false;
  }
  const std::size_t start = end_;
  end_ += *count;
  if (const void* stop = std::memchr(buffer_.get() + start, kEndOfFileByte, end_ - start)) {
    end_ = static_cast<std::size_t>(static_cast<const char*>(stop) - buffer_.get());
    atEnd_ = true;
  }
  return true;
}

bool TextFile::Refill() {
  bufferFromStart_ = bufferFromStart_ && end_ == 0;
  begin_ = end_ = 0;
  if (!ReadMore()) return false;
  bufferHoldsNul_ = std::memchr(buffer_.get(), '\0', end_) != nullptr;
  return true;
}

bool TextFile::ReadChunk(std::string_view& chunk) {
  if (begin_ == end_) {
    // While the buffer holds the file from its start, the next read goes
    // behind what it holds, so that a short file ends up in it whole.
    if (bufferFromStart_ && end_ < kBufferSize) {
      if (!ReadMore()) return false;
      bufferHoldsNul_ = bufferHoldsNul_ || std::memchr(buffer_.get() + begin_, '\0', end_ - begin_) != nullptr;
    } else if (!Refill()) {
      return false;
    }
  }
  chunk = std::string_view(buffer_.get() + begin_, end_ - begin_);
  begin_ = end_;
  return true;
}

Status TextFile::Rewind() {
  longLine_.clear();
  // Taking lines makes CR LF into LF in the buffer: only bytes looked at
  // in pieces are as the file has them. A read that failed is read again.
  if (bufferFromStart_ && atEnd_ && !linesTaken_ && file_.IsOpen() && readStatus_.ok()) {
    begin_ = 0;
    return Status();
  }
  if (!file_.IsOpen()) return SystemError::FromCode(EBADF);
  if (const Status sought = SeekToStart(file_.Get()); !sought) return sought;
  readStatus_ = Status();
  atEnd_ = false;
  bufferFromStart_ = true;
  linesTaken_ = false;
  begin_ = end_ = 0;
  bufferHoldsNul_ = false;
  return Status();
}

bool TextFile::ReadLineAcrossReads(std::string_view& line) {
  for (;;) {
    if (begin_ == end_ && !Refill()) {
      // A line cut by a failed read is no line of the file.
      if (!readStatus_) return false;
      line = longLine_;
      return !longLine_.empty();
    }
    if (longLine_.empty() && TakeLineFromBuffer(line)) return true;
    char* start = buffer_.get() + begin_;
    const std::size_t available = end_ - begin_;
    auto* found = static_cast<char*>(std::memchr(start, '\n', available));
    if (found == nullptr) {
      longLine_.append(start, available);
      begin_ = end_;
      continue;
    }
    const std::size_t length = static_cast<std::size_t>(found - start);
    begin_ += length + 1;
    longLine_.append(start, length);
    // The CR of a CR LF pair may have come in the previous read.
    if (longLine_.back() == '\r') longLine_.pop_back();
    longLine_.push_back('\n');
    line = longLine_;
    return true;
  }
}

bool TextFile::ReadLine(std::string& line) {
  std::string_view view;
  const bool read = ReadLine(view);
  line.assign(view);
  return read;
}

}  // namespace quillmark::platform
