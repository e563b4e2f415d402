// Per-file choice of the encoding a source file is read in, made from its
// bytes alone.
#pragma once

#include <string_view>

namespace quillmark::engine {

enum class DetectedEncoding { Ascii, ShiftJis, EucJp, Utf8 };

// Chooses how a file is read from its bytes as text-mode reading gives them:
// ASCII when no byte is from 0x80 up; UTF-8 when the bytes are strict UTF-8
// (a leading byte-order mark allowed); otherwise Shift_JIS or EUC-JP,
// whichever reading has fewer invalid bytes, then more Japanese-text
// characters, Shift_JIS on a full tie.
DetectedEncoding DetectEncoding(std::string_view bytes);

// The bytes of a file in pieces, and from the start again when asked.
class ByteChunks {
 public:
  virtual ~ByteChunks() = default;
  // The next piece, never empty; false at the end.
  virtual bool Next(std::string_view& chunk) = 0;
  // Back to the first piece; false when the bytes cannot be read again.
  virtual bool Restart() = 0;
};

// The same choice over bytes read in pieces of any size, holding no more
// than a piece: they are read once to tell ASCII and UTF-8, and a second
// time to count the Japanese readings (Shift_JIS when they cannot be).
DetectedEncoding DetectEncoding(ByteChunks& chunks);

// "ASCII", "SJIS-JP", "EUC-JP", "UTF-8": the name the trace line shows.
std::string_view DetectedEncodingName(DetectedEncoding encoding);

}  // namespace quillmark::engine
