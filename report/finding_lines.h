// A finding as one line of text: the grep form (PATH:LINE[:COLUMN]: TEXT)
// that quillmark-scan prints and the window copies, and the raw form
// (TEXT TAB LINE TAB PATH). Neither ends with a line end.
#pragma once

#include <string>
#include <string_view>

#include "engine/finding.h"

namespace quillmark::report {

struct GrepLineStyle {
  std::string_view root;    // as typed: the paths start with it
  bool rootIsFile = false;  // then the path shown is the root itself
  bool column = false;      // PATH:LINE:COLUMN: TEXT
  bool color = false;       // path magenta, line and column green
};

// PATH as PathFromRoot makes it, then the line (and column), then the
// text trimmed of its padding, in UTF-8.
void AppendGrepLine(const engine::Finding& finding, const GrepLineStyle& style, std::string& out);

// The text as recorded (padded, in Shift_JIS or as a UTF-8 file wrote it),
// TAB, the line, TAB, the path relative to the root.
void AppendRawLine(const engine::Finding& finding, std::string& out);

}  // namespace quillmark::report
