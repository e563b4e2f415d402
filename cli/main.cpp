// quillmark-scan: the scanning engine for scripts and CI.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "cli/console_sink.h"
#include "cli/scan_options.h"
#include "engine/search_setup.h"
#include "engine/source_finder.h"
#include "platform/console.h"
#include "platform/native_file.h"
#include "platform/path.h"
#include "platform/process_limits.h"
#include "report/writer_factory.h"

namespace {

constexpr int kNoFinding = 0;
constexpr int kFindings = 1;
constexpr int kFailed = 2;

int Fail(const std::string& message) {
  std::fflush(stdout);
  (void)quillmark::platform::WriteStream(stderr, message + "\n");
  return kFailed;
}

}  // namespace

int Scan(int argc, char** argv) {
  using namespace quillmark;

  const auto parsed = cli::ParseScanOptions(platform::ProgramArguments(argc, argv));
  if (!parsed.error.empty()) return Fail("quillmark-scan: " + parsed.error + "\n" + cli::ScanUsageLine());
  const cli::ScanOptions& options = parsed.options;
  if (options.help) {
    (void)platform::WriteStream(stdout, cli::ScanHelpText());
    return kNoFinding;
  }
  if (options.version) {
    std::fputs("quillmark-scan " QUILLMARK_VERSION "\n", stdout);
    return kNoFinding;
  }

  std::vector<std::string> roots;
  for (const std::string& typed : options.roots) {
    roots.push_back(engine::TrimRootPath(typed));
    if (roots.back().empty())
      return Fail("quillmark-scan: 検索対象パスを入力してください\n" + cli::ScanUsageLine());
  }
  const std::optional<engine::SearchEncoding> encoding = engine::EncodingForSetting(options.encoding);
  if (!encoding)
    return Fail("quillmark-scan: " + engine::UnsupportedEncodingMessage(options.encoding) +
                " (SJIS, EUC, UTF8 or AUTO)");

  // A terminal shows each finding as it is made; a pipe or file gets them
  // in large writes.
  const bool terminal = platform::IsTerminal(stdout);
  static char outputBuffer[1 << 16];
  std::setvbuf(stdout, outputBuffer, terminal ? _IOLBF : _IOFBF, sizeof outputBuffer);

  std::vector<bool> isFile;
  for (const std::string& root : roots) isFile.push_back(platform::IsRegularFile(root));

  cli::ConsoleSettings settings;
  settings.column = options.column;
  settings.quiet = options.quiet;
  const char* noColor = std::getenv("NO_COLOR");
  settings.color = options.color == "always" ||
                   (options.color == "auto" && terminal && (noColor == nullptr || *noColor == '\0'));
  // One folder ROOT names its files from it as ever; otherwise one document
  // for every ROOT names them from the current folder.
  const bool fromHere = roots.size() > 1 || isFile.front();
  report::ReportContext context{roots.front(), platform::MakeAbsolutePath(roots.front()).value_or(roots.front()),
                                QUILLMARK_VERSION};
  context.lexer = options.lexer;
  if (fromHere) {
    context.root = ".";
    context.rootAbsolute = platform::MakeAbsolutePath(".").value_or(".");
    settings.dataBase = context.rootAbsolute;
  }
  if (options.format == "log") settings.output = cli::ConsoleOutput::Log;
  else if (options.format == "raw") settings.output = cli::ConsoleOutput::Raw;
  else if (options.format != "grep") {
    settings.output = cli::ConsoleOutput::Data;
    // The options allow no other name.
    settings.writer = report::MakeFormatWriter(report::ReportFormatNamed(options.format).value(), context);
  }
  cli::ConsoleSink sink(stdout, stderr, std::move(settings));

  bool completed = true;
  std::string failureMessage;  // told after the output, as the walk's last word
  for (std::size_t i = 0; i < roots.size() && completed; ++i) {
    const std::string& root = roots[i];
    std::string base = platform::MakeAbsolutePath(root).value_or(root);
    if (isFile[i]) base = platform::ParentFolder(base);
    sink.SetRoot(root, std::move(base), isFile[i]);
    engine::SearchOptions search;
    search.root = root;
    search.rootIsFile = isFile[i];
    search.encoding = *encoding;
    search.lexer = options.lexer;
    search.extensions = engine::BuildExtensionList(options.fileExt);
    search.exclusions = options.exclusions;
    search.threads = options.threads != 0 ? options.threads : platform::ProcessorCount();
    sink.Configure(search);
    // An engine walks once: one for each root.
    engine::SourceFinder finder(std::move(search), sink);
    completed = finder.Walk();
    if (completed) continue;
    const engine::WalkFailure& failure = finder.Failure();
    switch (failure.kind) {
      case engine::WalkFailure::Kind::CannotResolveRoot:
        failureMessage = "quillmark-scan: " + failure.path + ": " + failure.reason;
        break;
      case engine::WalkFailure::Kind::OutOfMemory:
        failureMessage = failure.path.empty() ? "quillmark-scan: out of memory"
                                              : "quillmark-scan: " + failure.path + ": out of memory";
        break;
      default:
        break;
    }
  }
  sink.Finish(completed);
  if (options.stats) (void)platform::WriteStream(stderr, sink.StatsText());
  if (sink.OutputFailed() || std::ferror(stdout)) return Fail("quillmark-scan: could not write the output");
  if (!failureMessage.empty()) return Fail(failureMessage);
  if (!completed || sink.RootFailed()) return kFailed;
  return sink.FindingCount() > 0 ? kFindings : kNoFinding;
}

int main(int argc, char** argv) {
  // The walk reports a lack of memory itself; this catches it anywhere
  // else, after the findings already made have gone out.
  try {
    return Scan(argc, argv);
  } catch (const std::bad_alloc&) {
    std::fflush(stdout);
    return Fail("quillmark-scan: out of memory");
  }
}
