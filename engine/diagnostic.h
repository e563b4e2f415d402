// Something a search could not do, as data for the front ends to report.
#pragma once

#include <cstdint>
#include <string>

namespace quillmark::engine {

struct Diagnostic {
  enum class Kind {
    CannotOpenFile,    // a matching file; the walk ends
    LiteralNotClosed,  // the rest of the file is not scanned, unless restScanned
    CannotListFolder,  // the folder is passed over
    CannotReadFile,    // a read failed part way; the walk ends
  };
  Kind kind = Kind::CannotOpenFile;
  std::string path;       // relative to the search root, like a finding's; empty for the root itself
  std::int64_t line = 0;  // LiteralNotClosed only
  std::string text;       // the system's reason; for LiteralNotClosed, the rest of the line
  // LiteralNotClosed by the C lexer: the literal (from its opening quote) is
  // dropped and the scan goes on at the next line.
  bool restScanned = false;
};

}  // namespace quillmark::engine
