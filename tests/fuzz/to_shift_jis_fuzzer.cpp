// EucEncoding::ToShiftJis against the plain byte-by-byte conversion and the
// textbook JIS X 0208 formula; SjisEncoding::ToShiftJis as the identity.

#include <cstdint>
#include <string>

#include "engine/euc_encoding.h"
#include "engine/sjis_encoding.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/reference_euc_to_sjis.h"

namespace quillmark::fuzz {
namespace {

bool IsAscii(const std::string& text) {
  for (const unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

// The Shift_JIS code of the JIS X 0208 row and cell of an EUC-JP pair,
// derived from the row and cell rather than from the EUC bytes.
std::string JisPairToShiftJis(std::uint8_t lead, std::uint8_t trail) {
  const int row = lead - 0x80;   // 0x21-0x7E
  const int cell = trail - 0x80;  // 0x21-0x7E
  const int first = ((row + 1) >> 1) + (row <= 0x5E ? 0x70 : 0xB0);
  const int second = row % 2 == 1 ? cell + (cell < 0x60 ? 0x1F : 0x20) : cell + 0x7E;
  return {static_cast<char>(first), static_cast<char>(second)};
}

// Walks the input by the conversion's own pairing and checks each valid
// two-byte character and each half-width katakana against its code.
void CheckPairsAgainstJis(const std::string& in, const std::string& out) {
  std::size_t i = 0, o = 0;
  while (i < in.size()) {
    const auto b = static_cast<std::uint8_t>(in[i]);
    if (!IsEucLeadByte(b) || i + 1 == in.size()) {
      Check(out.compare(o, 1, in, i, 1) == 0, "a byte outside a pair passes unchanged");
      i += 1, o += 1;
      continue;
    }
    const auto t = static_cast<std::uint8_t>(in[i + 1]);
    if (b == 0x8E) {
      Check(static_cast<std::uint8_t>(out[o]) == t, "0x8E and a katakana byte give the katakana byte");
      i += 2, o += 1;
      continue;
    }
    if (t >= 0xA1 && t <= 0xFE) Check(out.substr(o, 2) == JisPairToShiftJis(b, t), "a JIS X 0208 pair converts");
    i += 2, o += 2;
  }
  Check(o == out.size(), "the output holds nothing but the converted input");
}

}  // namespace
}  // namespace quillmark::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillmark;
  using fuzz::Check;
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::string kept = input;

  const engine::EucEncoding euc;
  const std::string converted = euc.ToShiftJis(input);
  Check(input == kept, "the argument is left unchanged");
  Check(converted == fuzz::ReferenceEucToShiftJis(input), "the conversion equals the byte-by-byte reference");
  Check(converted.size() <= input.size(), "EUC-JP output is never longer than its input");
  if (fuzz::IsAscii(input)) Check(converted == input, "ASCII passes unchanged");
  fuzz::CheckPairsAgainstJis(input, converted);

  // The overload that fills a reused string: whatever it held before goes.
  std::string reused(size % 7 == 0 ? 0 : size * 2 + 3, '\xA4');
  euc.ToShiftJis(input, reused);
  Check(reused == converted, "both EUC-JP overloads agree");

  const engine::SjisEncoding sjis;
  Check(sjis.ToShiftJis(input) == input, "Shift_JIS conversion is the identity");
  sjis.ToShiftJis(input, reused);
  Check(reused == input, "the reusing Shift_JIS overload is the identity");
  return 0;
}
