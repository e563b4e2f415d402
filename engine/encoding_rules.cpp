#include "engine/encoding_rules.h"

#include <algorithm>

#include "engine/euc_encoding.h"
#include "engine/sjis_encoding.h"
#include "platform/code_page.h"

namespace quillmark::engine {
namespace {

// The scanner's stop bytes follow from the byte classes. A byte that only
// continues a UTF-8 character never needs a stop: it cannot be a quote, a
// backslash or a slash, and its lead byte is where Japanese is decided.
void DeriveStopBytes(EncodingRules& rules) {
  ByteClassTable codeHigh{}, literalHigh{};
  for (int b = 0x80; b < 256; ++b) {
    const bool lead = rules.leadBytes[b];
    codeHigh[b] = lead && rules.form == CharacterForm::LeadAndTrail;
    literalHigh[b] = lead || rules.singleByteJapanese[b];
  }
  rules.codeStops = MakeStopBytes(codeHigh, {'"', '\'', '\\', '/'});
  rules.literalStops = MakeStopBytes(literalHigh, {'"', '\'', '\\', '\\'});
  rules.lexerCodeStops = MakeStopBytes<5>(codeHigh, {'"', '\'', '\\', '/', '\n'});
  rules.lexerLiteralStops = MakeStopBytes(literalHigh, {'"', '\'', '\\', '\n'});
}

template <class Encoding>
EncodingRules LeadAndTrailRules(SourceEncoding encoding) {
  const Encoding codec;
  EncodingRules rules{};
  rules.name = encoding == SourceEncoding::ShiftJis ? platform::kShiftJisNames.shown : platform::kEucJpNames.shown;
  rules.encoding = encoding;
  rules.form = CharacterForm::LeadAndTrail;
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<std::uint8_t>(b);
    rules.leadBytes[b] = codec.IsLeadByte(byte);
    rules.characterLength[b] = codec.IsLeadByte(byte) ? 2 : 1;
    rules.singleByteJapanese[b] = codec.IsSingleByteJapanese(byte);
  }
  rules.closerSearch = CommentCloserSearch::ShiftJisCharacters;
  DeriveStopBytes(rules);
  return rules;
}

EncodingRules MakeUtf8Rules() {
  EncodingRules rules{};
  rules.name = platform::kUtf8Names.shown;
  rules.encoding = SourceEncoding::Utf8;
  rules.form = CharacterForm::Utf8;
  for (int b = 0; b < 256; ++b) {
    // A byte that opens no sequence is a character of its own.
    const std::size_t opened = platform::Utf8SequenceLength(static_cast<unsigned char>(b));
    const auto length = static_cast<std::uint8_t>(std::max<std::size_t>(opened, 1));
    rules.characterLength[b] = length;
    rules.leadBytes[b] = length > 1;
  }
  rules.closerSearch = CommentCloserSearch::PlainBytes;
  DeriveStopBytes(rules);
  return rules;
}

}  // namespace

const EncodingRules& ShiftJisRules() {
  static const EncodingRules rules = LeadAndTrailRules<SjisEncoding>(SourceEncoding::ShiftJis);
  return rules;
}

const EncodingRules& EucJpRules() {
  static const EncodingRules rules = LeadAndTrailRules<EucEncoding>(SourceEncoding::EucJp);
  return rules;
}

const EncodingRules& Utf8Rules() {
  static const EncodingRules rules = MakeUtf8Rules();
  return rules;
}

bool IsJapaneseCharacter(const EncodingRules& rules, const std::uint8_t* bytes, std::size_t length) {
  if (rules.form == CharacterForm::LeadAndTrail) return length == 2 || rules.singleByteJapanese[bytes[0]];
  // A UTF-8 character is Japanese exactly when its Shift_JIS form would
  // be, so a literal is reported whichever way its file is written.
  char32_t codePoint = 0;
  return length > 1 && platform::DecodeUtf8Sequence(bytes, length, codePoint) && platform::IsCp932Japanese(codePoint);
}

}  // namespace quillmark::engine
