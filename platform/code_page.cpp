#include "platform/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace quillmark::platform {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool IsCp932LeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsCp932TrailByte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// One converter per thread: opening iconv per call would dominate the
// cost of converting short texts.
class Cp932Decoder {
 public:
  Cp932Decoder() : cd_(iconv_open("UTF-8", "CP932")) {}
  ~Cp932Decoder() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Cp932Decoder(const Cp932Decoder&) = delete;
  Cp932Decoder& operator=(const Cp932Decoder&) = delete;

  std::string Decode(std::string_view bytes) {
    std::string result;
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return DecodeAsciiOnly(bytes);
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char chunk[1024];
    while (inLeft > 0) {
      char* out = chunk;
      std::size_t outLeft = sizeof chunk;
      std::size_t rc = iconv(cd_, &in, &inLeft, &out, &outLeft);
      result.append(chunk, static_cast<std::size_t>(out - chunk));
      if (rc != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
      // EILSEQ or EINVAL: replace one character and go on behind it.
      const auto lead = static_cast<unsigned char>(*in);
      std::size_t skip = 1;
      if (IsCp932LeadByte(lead) && inLeft >= 2 && IsCp932TrailByte(static_cast<unsigned char>(in[1]))) skip = 2;
      result += kReplacement;
      in += skip;
      inLeft -= skip;
    }
    return result;
  }

 private:
  static std::string DecodeAsciiOnly(std::string_view bytes) {
    std::string result;
    for (char c : bytes) {
      if (static_cast<unsigned char>(c) < 0x80) result += c;
      else result += kReplacement;
    }
    return result;
  }

  iconv_t cd_;
};

}  // namespace

std::string Cp932ToUtf8(std::string_view bytes) {
  thread_local Cp932Decoder decoder;
  return decoder.Decode(bytes);
}

bool IsValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  const std::size_t n = bytes.size();
  while (i < n) {
    // Trace lines are mostly ASCII: eight bytes at a time while they are.
    while (i + 8 <= n) {
      std::uint64_t word;
      std::memcpy(&word, bytes.data() + i, sizeof word);
      if ((word & 0x8080808080808080ull) != 0) break;
      i += 8;
    }
    if (i >= n) break;
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    std::size_t length;
    char32_t minimum;
    char32_t value;
    if ((b & 0xE0) == 0xC0) { length = 2; minimum = 0x80; value = b & 0x1F; }
    else if ((b & 0xF0) == 0xE0) { length = 3; minimum = 0x800; value = b & 0x0F; }
    else if ((b & 0xF8) == 0xF0) { length = 4; minimum = 0x10000; value = b & 0x07; }
    else return false;
    if (i + length > n) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto c = static_cast<unsigned char>(bytes[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      value = (value << 6) | (c & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

}  // namespace quillmark::platform
