#include "cli/scan_options.h"

#include <algorithm>
#include <iterator>

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
  bool logFlag = false;
  bool rawFlag = false;
  std::string format;

  for (std::size_t i = 0; i < arguments.size() && error.empty(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
      positional.push_back(argument);
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--log") {
      logFlag = true;
    } else if (argument == "--raw") {
      rawFlag = true;
    } else if (argument == "--column") {
      options.column = true;
    } else if (argument == "-q" || argument == "--quiet") {
      options.quiet = true;
    } else if (argument == "--stats") {
      options.stats = true;
    } else if (TakeValue(arguments, i, "--encoding", options.encoding, error) ||
               TakeValue(arguments, i, "--ext", options.fileExt, error) ||
               TakeValue(arguments, i, "--format", format, error)) {
    } else {
      error = "unknown option " + argument;
    }
  }
  if (!error.empty() || options.help) return parsed;

  // The old flags stay; --log wins over --raw as it always did.
  if (!format.empty()) options.format = format;
  if (rawFlag) options.format = "raw";
  if (logFlag) options.format = "log";
  static constexpr const char* kFormats[] = {"grep", "raw", "log", "json", "csv", "sarif", "po"};
  if (std::find(std::begin(kFormats), std::end(kFormats), options.format) == std::end(kFormats)) {
    error = "unknown format " + options.format + " (grep, raw, log, json, csv, sarif or po)";
    return parsed;
  }

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
  return "usage: quillmark-scan [--encoding SJIS|EUC|UTF8|AUTO] [--ext LIST] [--format FORMAT] [--column]\n"
         "                      [--log] [--raw] [-q] [--stats] ROOT";
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
         "  --format FORMAT      grep (the default: PATH:LINE: TEXT), raw, log, json (JSON\n"
         "                       Lines), csv, sarif (SARIF 2.1.0) or po (a gettext template)\n"
         "  --column             PATH:LINE:COLUMN: TEXT in the grep form\n"
         "  -q, --quiet          no warnings on standard error\n"
         "  --stats              a summary on standard error at the end\n"
         "  --log                print every trace line of the walk instead of the findings\n"
         "  --raw                print findings as recorded: the text padded to 20 bytes\n"
         "                       (Shift_JIS, or as written in a UTF-8 file), TAB, line,\n"
         "                       TAB, relative path\n"
         "  -h, --help           show this help\n"
         "\n"
         "By default each finding is printed as PATH:LINE: TEXT in UTF-8, PATH being ROOT as\n"
         "given, '/' and the file's path below it. Files that cannot be opened, literals left\n"
         "open on their line and folders that cannot be listed are reported on standard\n"
         "error in every form but log.\n"
         "\n"
         "Exit status: 0 no finding, 1 at least one finding, 2 the walk ended early\n"
         "(a source file could not be opened, a relative ROOT while the current folder\n"
         "is gone, memory ran out, the output could not be written) or the arguments\n"
         "were wrong.\n";
}

}  // namespace quillmark::cli
