#include "platform/cp932_converter.h"

#include <iconv.h>

#include <cerrno>

#include "platform/code_page.h"

namespace quillmark::platform {
namespace {

struct Converters {
  iconv_t decoder;
  iconv_t encoder;
};

const iconv_t kNone = reinterpret_cast<iconv_t>(-1);

bool IsOneCharacter(const char* utf8, std::size_t length) {
  std::size_t characters = 0;
  for (std::size_t k = 0; k < length; ++k) characters += (static_cast<unsigned char>(utf8[k]) & 0xC0) != 0x80;
  return characters == 1;
}

}  // namespace

Cp932Converter::Cp932Converter()
    : state_(new Converters{iconv_open("UTF-8", "CP932"), iconv_open("CP932", "UTF-8")}) {}

Cp932Converter::~Cp932Converter() {
  auto* converters = static_cast<Converters*>(state_);
  if (converters->decoder != kNone) iconv_close(converters->decoder);
  if (converters->encoder != kNone) iconv_close(converters->encoder);
  delete converters;
}

bool Cp932Converter::Usable() const {
  const auto* converters = static_cast<const Converters*>(state_);
  return converters->decoder != kNone && converters->encoder != kNone;
}

Cp932Answer Cp932Converter::Decode(std::string_view bytes, std::string& utf8) {
  const iconv_t cd = static_cast<Converters*>(state_)->decoder;
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  char decoded[16];
  char* out = decoded;
  std::size_t outLeft = sizeof decoded;
  const std::size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
  if (rc == static_cast<std::size_t>(-1)) {
    const bool waits = errno == EINVAL && bytes.size() == 1;
    // iconv decodes CP932 without state; after a refusal it is put back
    // to its start all the same.
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    return waits ? Cp932Answer::kLeadByte : Cp932Answer::kRefused;
  }
  const auto written = static_cast<std::size_t>(out - decoded);
  // Two single bytes are no pair.
  if (written == 0 || !IsOneCharacter(decoded, written)) return Cp932Answer::kRefused;
  utf8.assign(decoded, written);
  return Cp932Answer::kCharacter;
}

bool Cp932Converter::Encode(char32_t codePoint, std::string& bytes) {
  const iconv_t cd = static_cast<Converters*>(state_)->encoder;
  std::string utf8;
  AppendUtf8(codePoint, utf8);
  char* in = utf8.data();
  std::size_t inLeft = utf8.size();
  char encoded[8];
  char* out = encoded;
  std::size_t outLeft = sizeof encoded;
  // The encoder keeps no state, and a refused code point leaves nothing
  // behind: no reset is needed.
  if (iconv(cd, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) return false;
  const auto written = static_cast<std::size_t>(out - encoded);
  if (written == 0 || written > 2) return false;
  bytes.assign(encoded, written);
  return true;
}

}  // namespace quillmark::platform
