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

// "ASCII", "SJIS-JP", "EUC-JP", "UTF-8": the name the trace line shows.
std::string_view DetectedEncodingName(DetectedEncoding encoding);

}  // namespace quillmark::engine
