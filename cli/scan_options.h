// The command line of quillmark-scan.
#pragma once

#include <string>
#include <vector>

namespace quillmark::cli {

struct ScanOptions {
  std::string encoding = "SJIS";
  std::string fileExt = "c;cpp;h;hpp";
  bool log = false;   // every trace line instead of the findings
  bool raw = false;   // findings as recorded: Shift_JIS, TAB-separated
  bool help = false;
  std::string root;   // as given, not yet trimmed
};

struct ParsedScanOptions {
  ScanOptions options;
  std::string error;  // empty when the arguments were understood
};

ParsedScanOptions ParseScanOptions(const std::vector<std::string>& arguments);

std::string ScanUsageLine();
std::string ScanHelpText();

}  // namespace quillmark::cli
