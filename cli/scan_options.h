// The command line of quillmark-scan.
#pragma once

#include <string>
#include <vector>

#include "engine/search_options.h"
#include "platform/code_page.h"

namespace quillmark::cli {

struct ScanOptions {
  std::string encoding{platform::kShiftJisNames.setting};
  std::string fileExt = "c;cpp;h;hpp";
  // grep (PATH:LINE: TEXT), raw, log, json, csv, sarif or po; --log and
  // --raw name the second and third.
  std::string format = "grep";
  bool column = false;  // PATH:LINE:COLUMN: TEXT in the grep form
  bool quiet = false;   // no warnings on standard error
  bool stats = false;   // a summary on standard error at the end
  bool help = false;
  bool version = false;
  unsigned threads = 0;  // threads that scan; 0: one for each processor
  std::string color = "auto";  // auto, always or never: the grep form's colours
  engine::Lexer lexer = engine::Lexer::Line;  // --lexer line or c
  std::vector<std::string> exclusions;  // --exclude globs, in order
  std::vector<std::string> roots;  // as given, not yet trimmed; at least one
};

struct ParsedScanOptions {
  ScanOptions options;
  std::string error;  // empty when the arguments were understood
};

ParsedScanOptions ParseScanOptions(const std::vector<std::string>& arguments);

std::string ScanUsageLine();
std::string ScanHelpText();

}  // namespace quillmark::cli
