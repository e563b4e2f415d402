// quillmark-scan: the scanning engine for scripts and CI.

#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "cli/console_host.h"
#include "cli/scan_options.h"
#include "engine/search_setup.h"
#include "platform/path.h"
#include "report/csv_writer.h"
#include "report/json_lines_writer.h"
#include "report/po_writer.h"
#include "report/sarif_writer.h"

namespace {

constexpr int kNoFinding = 0;
constexpr int kFindings = 1;
constexpr int kFailed = 2;

int Fail(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  return kFailed;
}

}  // namespace

int Scan(int argc, char** argv) {
  using namespace quillmark;

  const auto parsed = cli::ParseScanOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.error.empty()) return Fail("quillmark-scan: " + parsed.error + "\n" + cli::ScanUsageLine());
  const cli::ScanOptions& options = parsed.options;
  if (options.help) {
    std::fputs(cli::ScanHelpText().c_str(), stdout);
    return kNoFinding;
  }

  const std::string root = engine::TrimRootPath(options.root);
  if (root.empty()) return Fail("検索対象パスを入力してください");

  std::unique_ptr<engine::SourceFinder> finder = engine::CreateSourceFinder(options.encoding);
  if (!finder) return Fail(engine::UnsupportedEncodingMessage(options.encoding));

  static char outputBuffer[1 << 16];
  std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);

  cli::ConsoleSettings settings;
  settings.column = options.column;
  settings.quiet = options.quiet;
  const report::ReportContext context{root, platform::MakeAbsolutePath(root).value_or(root), QUILLMARK_VERSION};
  if (options.format == "log") settings.output = cli::ConsoleOutput::Log;
  else if (options.format == "raw") settings.output = cli::ConsoleOutput::Raw;
  else if (options.format != "grep") {
    settings.output = cli::ConsoleOutput::Data;
    settings.writer = options.format == "json"    ? report::MakeJsonLinesWriter(context)
                      : options.format == "csv"   ? report::MakeCsvWriter(context)
                      : options.format == "sarif" ? report::MakeSarifWriter(context)
                                                  : report::MakePoWriter(context);
  }
  cli::ConsoleHost host(stdout, stderr, std::move(settings), root);
  finder->SetHost(&host);
  finder->SetExtensions(engine::BuildExtensionList(options.fileExt));

  const bool completed = finder->Walk(root);
  host.Finish(completed);
  if (options.stats) std::fputs(host.StatsText().c_str(), stderr);
  if (host.OutputFailed() || std::ferror(stdout)) return Fail("quillmark-scan: could not write the output");
  if (!completed) {
    const engine::WalkFailure& failure = finder->Failure();
    switch (failure.kind) {
      case engine::WalkFailure::Kind::CannotResolveRoot:
        return Fail("quillmark-scan: " + failure.path + ": " + failure.reason);
      case engine::WalkFailure::Kind::OutOfMemory:
        return Fail(failure.path.empty() ? "quillmark-scan: out of memory"
                                         : "quillmark-scan: " + failure.path + ": out of memory");
      default:
        return kFailed;
    }
  }
  return host.FindingCount() > 0 ? kFindings : kNoFinding;
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
