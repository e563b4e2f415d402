#include "cli/scan_options.h"

#include <algorithm>
#include <iterator>

#include "report/writer_factory.h"

namespace quillmark::cli {
namespace {

// Takes the value of an option given as "--name VALUE" or "--name=VALUE",
// or as "-x VALUE" or "-xVALUE" for its short name.
bool TakeValue(const std::vector<std::string>& arguments, std::size_t& index, const std::string& name,
               std::string& value, std::string& error, const std::string& shortName = {}) {
  const std::string& argument = arguments[index];
  if (argument == name || (!shortName.empty() && argument == shortName)) {
    if (index + 1 >= arguments.size()) {
      error = "option " + argument + " needs a value";
      return true;
    }
    value = arguments[++index];
    return true;
  }
  if (argument.starts_with(name + "=")) {
    value = argument.substr(name.size() + 1);
    return true;
  }
  if (!shortName.empty() && argument.size() > shortName.size() && argument.starts_with(shortName)) {
    value = argument.substr(shortName.size());  // "-eUTF8"
    return true;
  }
  return false;
}

// More would only cost memory: each thread keeps files in flight.
constexpr unsigned kMaxThreads = 256;

bool ParseThreadCount(const std::string& text, unsigned& threads) {
  if (text.empty() || text.size() > 3 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return false;
  const unsigned value = static_cast<unsigned>(std::stoul(text));
  if (value < 1 || value > kMaxThreads) return false;
  threads = value;
  return true;
}

bool ParseLexer(const std::string& name, engine::Lexer& lexer) {
  if (name == "line") lexer = engine::Lexer::Line;
  else if (name == "c") lexer = engine::Lexer::C;
  else return false;
  return true;
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
    } else if (argument == "--version" || argument == "-V") {
      options.version = true;
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
    } else if (TakeValue(arguments, i, "--encoding", options.encoding, error, "-e") ||
               TakeValue(arguments, i, "--ext", options.fileExt, error) ||
               TakeValue(arguments, i, "--format", format, error) ||
               TakeValue(arguments, i, "--color", options.color, error)) {
    } else if (std::string pattern; TakeValue(arguments, i, "--exclude", pattern, error)) {
      options.exclusions.push_back(std::move(pattern));
    } else if (std::string count; TakeValue(arguments, i, "--threads", count, error, "-j")) {
      if (error.empty() && !ParseThreadCount(count, options.threads))
        error = "invalid thread count " + count + " (a number from 1 to " + std::to_string(kMaxThreads) + ")";
    } else if (std::string lexer; TakeValue(arguments, i, "--lexer", lexer, error)) {
      if (error.empty() && !ParseLexer(lexer, options.lexer)) error = "unknown lexer " + lexer + " (line or c)";
    } else {
      error = "unknown option " + argument;
    }
  }
  if (!error.empty() || options.help || options.version) return parsed;

  // The old flags stay; --log wins over --raw as it always did.
  if (!format.empty()) options.format = format;
  if (rawFlag) options.format = "raw";
  if (logFlag) options.format = "log";
  // The console's own forms, then the report forms.
  static constexpr const char* kLineFormats[] = {"grep", "raw", "log"};
  if (std::find(std::begin(kLineFormats), std::end(kLineFormats), options.format) == std::end(kLineFormats) &&
      !report::ReportFormatNamed(options.format)) {
    error = "unknown format " + options.format + " (grep, raw, log, json, csv, sarif or po)";
    return parsed;
  }
  if (options.color != "auto" && options.color != "always" && options.color != "never") {
    error = "unknown colour mode " + options.color + " (auto, always or never)";
    return parsed;
  }

  if (positional.empty()) error = "missing ROOT folder";
  else options.roots = std::move(positional);
  return parsed;
}

std::string ScanUsageLine() {
  return "usage: quillmark-scan [-e SJIS|EUC|UTF8|AUTO] [--ext LIST] [--exclude GLOB]... [--format FORMAT]\n"
         "                      [--lexer line|c] [--column] [--color WHEN] [--log] [--raw] [-q] [--stats]\n"
         "                      [-j N] ROOT...";
}

std::string ScanHelpText() {
  return ScanUsageLine() + "\n"
         "\n"
         "Walks every source file below each ROOT, in turn, and reports each string or\n"
         "character literal outside comments that holds Japanese bytes. A ROOT that names\n"
         "a file scans that file alone, whatever its extension.\n"
         "\n"
         "  -e, --encoding SJIS|EUC|UTF8|AUTO\n"
         "                       encoding of the source files (default SJIS); AUTO\n"
         "                       chooses Shift_JIS, EUC-JP or UTF-8 for each file\n"
         "  --ext LIST           extensions to scan, separated by ';' (default c;cpp;h;hpp);\n"
         "                       a leading '.' is dropped, case matters\n"
         "  --exclude GLOB       do not walk a folder or file whose path below its ROOT,\n"
         "                       or whose name, matches GLOB; may be repeated. '*', '?'\n"
         "                       and '[...]' match as in the shell, never across '/';\n"
         "                       in a GLOB that holds '**', every '*' matches '/' too\n"
         "                       (--exclude 'build' or --exclude 'third_party/**'); a\n"
         "                       ROOT itself is always walked\n"
         "  --format FORMAT      grep (the default: PATH:LINE: TEXT), raw, log, json (JSON\n"
         "                       Lines), csv, sarif (SARIF 2.1.0) or po (a gettext template)\n"
         "  --lexer line|c       how literals are read: line (the default) keeps each\n"
         "                       literal on its line and ends a file's scan at one left\n"
         "                       open; c reads them as a compiler does (continued lines,\n"
         "                       raw strings, the prefixes L u U u8) and goes on after\n"
         "                       one left open; the json, csv and sarif forms then give\n"
         "                       each literal's prefix and whether it is raw\n"
         "  --column             PATH:LINE:COLUMN: TEXT in the grep form\n"
         "  --color WHEN         colours in the grep form: auto (the default: when standard\n"
         "                       output is a terminal and NO_COLOR is unset or empty),\n"
         "                       always or never\n"
         "  -q, --quiet          no warnings on standard error\n"
         "  --stats              a summary on standard error at the end\n"
         "  -j, --threads N      scan files on N threads (default: one for each processor);\n"
         "                       the output is the same at any N, and -j 1 scans each\n"
         "                       file in turn on one thread\n"
         "  --log                print every trace line of the walk instead of the findings\n"
         "  --raw                print findings as recorded: the text padded to 20 bytes\n"
         "                       (Shift_JIS, or as written in a UTF-8 file), TAB, line,\n"
         "                       TAB, relative path (a file ROOT's own is its name)\n"
         "  -h, --help           show this help\n"
         "  -V, --version        show the version\n"
         "\n"
         "By default each finding is printed as PATH:LINE: TEXT in UTF-8, PATH being ROOT as\n"
         "given, '/' and the file's path below it (a file ROOT as given). The json, csv,\n"
         "sarif and po forms make one document for all ROOTs; with more than one ROOT, or a\n"
         "file ROOT, they name files from the current folder. Files that cannot be opened,\n"
         "literals left open on their line and folders that cannot be listed are reported\n"
         "on standard error in every form but log.\n"
         "\n"
         "Exit status: 0 no finding, 1 at least one finding, 2 a ROOT is missing or cannot\n"
         "be listed, a walk ended early (a source file could not be opened, a relative ROOT\n"
         "while the current folder is gone, memory ran out, the output could not be\n"
         "written) or the arguments were wrong.\n";
}

}  // namespace quillmark::cli
