#include "app/log_text.h"

#include <algorithm>
#include <cstring>

#include "platform/code_page.h"

namespace quillmark::app {

void AppendLogLine(std::string_view line, std::string& out) {
  platform::AppendDisplayText(line, out);
  out += '\n';
}

void LogText::AppendLine(std::string_view line) {
  converted_.clear();
  AppendLogLine(line, converted_);
  Append(converted_);
}

void LogText::Append(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t used = size_ % kBlockBytes;
    if (used == 0 && size_ / kBlockBytes == blocks_.size()) {
      blocks_.push_back(std::make_unique<MemoryBlock>(kBlockBytes));
    }
    const std::size_t count = std::min(bytes.size(), kBlockBytes - used);
    std::memcpy(blocks_[size_ / kBlockBytes]->Data() + used, bytes.data(), count);
    size_ += count;
    bytes.remove_prefix(count);
  }
}

void LogText::Clear() {
  blocks_.clear();
  size_ = 0;
  whole_ = std::string();
}

std::string LogText::Substr(std::size_t from, std::size_t to) const {
  std::string text;
  if (from >= to) return text;
  text.reserve(to - from);
  while (from < to) {
    const std::size_t within = from % kBlockBytes;
    const std::size_t count = std::min(to - from, kBlockBytes - within);
    text.append(blocks_[from / kBlockBytes]->Data() + within, count);
    from += count;
  }
  return text;
}

std::size_t LogText::Find(char byte, std::size_t from) const {
  while (from < size_) {
    const std::size_t within = from % kBlockBytes;
    const std::size_t count = std::min(size_ - from, kBlockBytes - within);
    const char* start = blocks_[from / kBlockBytes]->Data() + within;
    if (const void* found = std::memchr(start, byte, count)) return from + (static_cast<const char*>(found) - start);
    from += count;
  }
  return npos;
}

std::size_t LogText::ReverseFind(char byte, std::size_t at) const {
  if (size_ == 0) return npos;
  std::size_t index = std::min(at, size_ - 1);
  for (;;) {
    if (At(index) == byte) return index;
    if (index == 0) return npos;
    --index;
  }
}

long LogText::CountCharacters(std::size_t from, std::size_t to) const {
  long count = 0;
  to = std::min(to, size_);
  while (from < to) {
    const std::size_t within = from % kBlockBytes;
    const std::size_t length = std::min(to - from, kBlockBytes - within);
    const auto* bytes = reinterpret_cast<const unsigned char*>(blocks_[from / kBlockBytes]->Data() + within);
    for (std::size_t i = 0; i < length; ++i) count += (bytes[i] & 0xC0) != 0x80;
    from += length;
  }
  return count;
}

const std::string& LogText::Whole() const {
  if (whole_.size() < size_) whole_ += Substr(whole_.size(), size_);
  return whole_;
}

}  // namespace quillmark::app
