#include "cli/scan_options.h"

namespace quillmark::cli {
namespace {

// Takes the value of an option given as "--name VALUE" or "--name=VALUE".
bool TakeValue(const std::vector<std::string>& arguments, std::size_t& index, const std::string& name,
               std::string& value, std::string& error) {
  const std::string& argument = arguments[index];
  if (argument == name) {
    if (index + 1 >= arguments.size()) {
      error = "option " + name + " needs a value";
      return true;
    }
    value = arguments[++index];
    return true;
  }
  if (argument.starts_with(name + "=")) {
    value = argument.substr(name.size() + 1);
    return true;
  }
  return false;
}

}  // namespace

ParsedScanOptions ParseScanOptions(const std::vector<std::string>& arguments) {
  ParsedScanOptions parsed;
  ScanOptions& options = parsed.options;
  std::string& error = parsed.error;
  std::vector<std::string> positional;
  bool optionsEnded = false;

  for (std::size_t i = 0; i < arguments.size() && error.empty(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
      positional.push_back(argument);
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--log") {
      options.log = true;
    } else if (argument == "--raw") {
      options.raw = true;
    } else if (TakeValue(arguments, i, "--encoding", options.encoding, error) ||
               TakeValue(arguments, i, "--ext", options.fileExt, error)) {
    } else {
      error = "unknown option " + argument;
    }
  }
  if (!error.empty() || options.help) return parsed;

  if (positional.empty()) {
    error = "missing ROOT folder";
  } else if (positional.size() > 1) {
    error = "only one ROOT folder may be given";
  } else {
    options.root = positional.front();
  }
  return parsed;
}

std::string ScanUsageLine() {
  return "usage: quillmark-scan [--encoding SJIS|EUC|UTF8|AUTO] [--ext LIST] [--log] [--raw] ROOT";
}

std::string ScanHelpText() {
  return ScanUsageLine() + "\n"
         "\n"
         "Walks every source file below ROOT and reports each string or character\n"
         "literal outside comments that holds Japanese bytes.\n"
         "\n"
         "  --encoding SJIS|EUC|UTF8|AUTO\n"
         "                       encoding of the source files (default SJIS); AUTO\n"
         "                       chooses Shift_JIS, EUC-JP or UTF-8 for each file\n"
         "  --ext LIST           extensions to scan, separated by ';' (default c;cpp;h;hpp);\n"
         "                       a leading '.' is dropped, case matters\n"
         "  --log                print every trace line of the walk instead of the findings\n"
         "  --raw                print findings as recorded: the text padded to 20 bytes\n"
         "                       (Shift_JIS, or as written in a UTF-8 file), TAB, line,\n"
         "                       TAB, relative path\n"
         "  -h, --help           show this help\n"
         "\n"
         "Without --raw each finding is printed as PATH:LINE: TEXT in UTF-8.\n"
         "\n"
         "Exit status: 0 no finding, 1 at least one finding, 2 the walk ended early\n"
         "(a source file could not be opened, a relative ROOT while the current folder\n"
         "is gone, memory ran out, the output could not be written) or the arguments\n"
         "were wrong.\n";
}

}  // namespace quillmark::cli
