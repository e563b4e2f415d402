// quillmark-bench-gui [--megabytes N] [--folders N] [--seed N] [--runs N]:
// how long the desktop program's search takes on a big generated tree, rows
// and log included, next to quillmark-scan over the same tree in the same
// run; at half the size and at the full size, so that growth shows. Needs
// an X display (run it under xvfb-run -a). Exit status 1 when the window's
// rows or outcome do not match the tree, 2 on a usage or set-up error.
//
// Each figure is the median of --runs runs (3 by default), the scanner's
// runs and the window's taking turns so that a machine's drift hits both.
// The window is timed twice: from the click on 検索 until the outcome box
// has been closed and the window is idle, and until the window has also done what the search left to its
// event loop (the text view's layout, say), which is what the user waits
// for. It is set
// against quillmark-scan's --log, which traces as much as the window's log
// holds, on every processor and, where quillmark-scan has -j, on one
// (-j 1); the ratio window/--log is taken run by run.

#include <wx/app.h>
#include <wx/button.h>
#include <wx/evtloop.h>
#include <wx/listctrl.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/main_dialog.h"
#include "app/message_box.h"
#include "bench/gui/scanner_process.h"
#include "bench/temp_folder.h"
#include "bench/tree_generator.h"
#include "editor/settings_dialog.h"
#include "res/resource_ids.h"

namespace quillmark::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSucceeded = 0;
constexpr int kWrongResults = 1;
constexpr int kFailed = 2;

struct GuiRun {
  double seconds = 0;         // until the outcome box was closed
  double settledSeconds = 0;  // until the window's event queue was empty, too
  long rows = 0;
  std::string outcome;  // the text of the outcome box
};

// Dispatches what the window's event loop holds until nothing is left (at
// most ten seconds: an idle handler that keeps asking for more would
// never let go).
void SettleWindow() {
  const Clock::time_point limit = Clock::now() + std::chrono::seconds(10);
  while (Clock::now() < limit) {
    wxEventLoopBase* loop = wxEventLoopBase::GetActive();
    const bool pending = loop != nullptr && loop->Pending();
    if (pending) loop->Dispatch();
    const bool posted = wxTheApp->HasPendingEvents();
    if (posted) wxTheApp->ProcessPendingEvents();
    if (!pending && !posted) break;
  }
}

// Runs the event loop, as the program's own would run it, until the
// search's outcome box has been shown and the window is idle again.
void DispatchUntilOutcome(const GuiRun& run) {
  while (run.outcome.empty()) {
    wxEventLoopBase* loop = wxEventLoopBase::GetActive();
    if (wxTheApp->HasPendingEvents()) wxTheApp->ProcessPendingEvents();
    else if (loop != nullptr) loop->DispatchTimeout(1);
  }
}

// One search through the window's own search button.
GuiRun SearchInWindow(app::MainDialog& window, const std::string& root, const std::string& encoding) {
  GuiRun run;
  app::MessageBoxFunction previous =
      app::ReplaceMessageBox([&](const std::string& text, app::MessageIcon) { run.outcome = text; });
  window.GetSettingsDialog().values.encoding = encoding;
  dynamic_cast<wxTextCtrl*>(window.FindWindow(res::kFolderEdit))->ChangeValue(wxString::FromUTF8(root));
  wxWindow* searchButton = window.FindWindow(res::kSearchButton);
  wxCommandEvent click(wxEVT_BUTTON, res::kSearchButton);
  click.SetEventObject(searchButton);
  SettleWindow();

  const Clock::time_point start = Clock::now();
  searchButton->ProcessWindowEvent(click);
  DispatchUntilOutcome(run);
  run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  SettleWindow();
  run.settledSeconds = std::chrono::duration<double>(Clock::now() - start).count();

  run.rows = dynamic_cast<wxListCtrl*>(window.FindWindow(res::kResultList))->GetItemCount();
  app::ReplaceMessageBox(std::move(previous));
  return run;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The scanner as a script runs it, its output to /dev/null: findings
// printed; --log, which traces as much as the window's log holds; --log
// on one thread. Seconds of the whole process, or a negative number when
// the run failed (-j before quillmark-scan had it: a usage error).
struct ScannerTimes {
  double findings = 0;
  double log = 0;
  double logOneThread = 0;
};

double TimeScannerRun(const std::vector<std::string>& arguments) {
  const ScannerRun run = RunScannerProcess(QUILLMARK_SCAN_PATH, arguments);
  // 0: nothing found, 1: findings; anything else is no figure to compare.
  return run.exitStatus == 0 || run.exitStatus == 1 ? run.seconds : -1.0;
}

ScannerTimes TimeScanner(const std::string& root, const std::string& encoding) {
  ScannerTimes times;
  times.findings = TimeScannerRun({"--encoding", encoding, root});
  times.log = TimeScannerRun({"--log", "--encoding", encoding, root});
  times.logOneThread = TimeScannerRun({"--log", "-j", "1", "--encoding", encoding, root});
  return times;
}

// The runs of one encoding at one size.
struct Runs {
  std::vector<GuiRun> window;
  std::vector<ScannerTimes> scanner;
};

std::string FormatSeconds(double seconds) {
  if (seconds < 0) return "  n/a";
  char text[32];
  std::snprintf(text, sizeof text, "%5.2f", seconds);
  return text;
}

std::string FormatRatio(const std::vector<double>& ratios) {
  if (ratios.empty()) return "  n/a";
  char text[32];
  std::snprintf(text, sizeof text, "x%4.2f", Median(ratios));
  return text;
}

// The window against one form of the scanner: the ratios run by run, until
// the search ended and until the window settled.
struct Ratios {
  std::vector<double> returned;
  std::vector<double> settled;

  void Add(const GuiRun& run, double scannerSeconds) {
    if (scannerSeconds <= 0) return;
    returned.push_back(run.seconds / scannerSeconds);
    settled.push_back(run.settledSeconds / scannerSeconds);
  }
  std::string Format() const { return FormatRatio(returned) + " (settled " + FormatRatio(settled) + ")"; }
};

bool Report(const char* name, const Runs& runs, const TreeStats& expected) {
  std::vector<double> window, settled, findings, log, logOneThread;
  Ratios perLog, perLogOneThread;
  bool matched = true;
  for (std::size_t i = 0; i < runs.window.size(); ++i) {
    const GuiRun& run = runs.window[i];
    const ScannerTimes& scanner = runs.scanner[i];
    window.push_back(run.seconds);
    settled.push_back(run.settledSeconds);
    if (scanner.findings >= 0) findings.push_back(scanner.findings);
    if (scanner.log > 0) log.push_back(scanner.log);
    if (scanner.logOneThread > 0) logOneThread.push_back(scanner.logOneThread);
    perLog.Add(run, scanner.log);
    perLogOneThread.Add(run, scanner.logOneThread);
    matched = matched && run.rows == static_cast<long>(expected.findings) && run.outcome == "解析完了";
  }
  const GuiRun& last = runs.window.back();
  const double windowMedian = Median(window);
  std::printf("  %-4s window %5.2f s, settled %5.2f s | quillmark-scan %s s, --log %s s, --log -j 1 %s s\n"
              "       window/--log %s, window/--log -j 1 %s | %.0f rows/s, rows %ld of %llu, %s\n",
              name, windowMedian, Median(settled), FormatSeconds(findings.empty() ? -1 : Median(findings)).c_str(),
              FormatSeconds(log.empty() ? -1 : Median(log)).c_str(),
              FormatSeconds(logOneThread.empty() ? -1 : Median(logOneThread)).c_str(), perLog.Format().c_str(),
              perLogOneThread.Format().c_str(),
              windowMedian > 0 ? static_cast<double>(last.rows) / windowMedian : 0.0, last.rows,
              static_cast<unsigned long long>(expected.findings), last.outcome.c_str());
  return matched;
}

// Generates a tree of `megabytes` over `folders` folders, searches it with
// the scanner and in the window `runs` times, and prints the medians.
bool RunOneSize(const TempFolder& folder, std::uint64_t megabytes, std::size_t folders, std::uint64_t seed,
                std::uint64_t runCount) {
  TreeShape shape;
  shape.totalBytes = megabytes << 20;
  shape.folderCount = folders;
  shape.seed = seed;
  const std::string root = folder.Path() + "/tree-" + std::to_string(megabytes);
  const GeneratedTree tree = GenerateTree(root, shape);
  std::printf("tree of %llu MiB: %llu files, %llu folders, %llu findings; median of %llu runs\n",
              static_cast<unsigned long long>(megabytes),
              static_cast<unsigned long long>(tree.sjis.files + tree.euc.files),
              static_cast<unsigned long long>(tree.sjis.folders + tree.euc.folders),
              static_cast<unsigned long long>(tree.sjis.findings + tree.euc.findings),
              static_cast<unsigned long long>(runCount));

  // Both read the tree from the page cache: the scanner's first run warms it.
  RunScannerProcess(QUILLMARK_SCAN_PATH, {"--encoding", "SJIS", tree.sjisRoot});
  RunScannerProcess(QUILLMARK_SCAN_PATH, {"--encoding", "EUC", tree.eucRoot});

  Runs sjis;
  Runs euc;
  double logMiB = 0;
  for (std::uint64_t run = 0; run < runCount; ++run) {
    sjis.scanner.push_back(TimeScanner(tree.sjisRoot, "SJIS"));
    euc.scanner.push_back(TimeScanner(tree.eucRoot, "EUC"));
    // A fresh window for each run, searched twice as a user would: the
    // second search's log follows the first one's.
    auto* window = new app::MainDialog(root + "/quillmark.ini");
    window->Show();
    sjis.window.push_back(SearchInWindow(*window, tree.sjisRoot, "SJIS"));
    euc.window.push_back(SearchInWindow(*window, tree.eucRoot, "EUC"));
    logMiB = static_cast<double>(window->GetLogText().size()) / (1024.0 * 1024.0);
    window->Destroy();
    wxTheApp->ProcessPendingEvents();
  }

  bool matched = Report("SJIS", sjis, tree.sjis);
  matched = Report("EUC", euc, tree.euc) && matched;
  std::printf("  log text after both searches: %.1f MiB\n", logMiB);
  std::fflush(stdout);
  return matched;
}

int RunBench(std::uint64_t megabytes, std::size_t folders, std::uint64_t seed, std::uint64_t runs) {
  TempFolder folder("quillmark-bench-gui-");
  bool matched = RunOneSize(folder, std::max<std::uint64_t>(1, megabytes / 2), folders, seed, runs);
  matched = RunOneSize(folder, megabytes, folders, seed, runs) && matched;
  return matched ? kSucceeded : kWrongResults;
}

bool ParseNumber(const wxString& text, std::uint64_t& value) {
  unsigned long long parsed = 0;
  if (!text.ToULongLong(&parsed) || parsed == 0) return false;
  value = parsed;
  return true;
}

}  // namespace

class GuiBenchApp : public wxApp {
 public:
  bool OnInit() override {
    for (int i = 1; i < argc; ++i) {
      const wxString argument = argv[i];
      const bool hasValue = i + 1 < argc;
      if (argument == "--megabytes" && hasValue && ParseNumber(argv[i + 1], megabytes_)) {
        ++i;
      } else if (argument == "--folders" && hasValue && ParseNumber(argv[i + 1], folders_)) {
        ++i;
      } else if (argument == "--seed" && hasValue && ParseNumber(argv[i + 1], seed_)) {
        ++i;
      } else if (argument == "--runs" && hasValue && ParseNumber(argv[i + 1], runs_) && runs_ <= 100) {
        ++i;
      } else {
        std::fprintf(stderr, "usage: quillmark-bench-gui [--megabytes N] [--folders N] [--seed N] [--runs N]\n");
        return false;
      }
    }
    // The searches run inside the main loop, as a click would in the
    // program, so that the search's batches and outcome arrive as they do
    // there.
    CallAfter([this] {
      try {
        status_ = RunBench(megabytes_, static_cast<std::size_t>(folders_), seed_, runs_);
      } catch (const std::exception& error) {
        std::fprintf(stderr, "quillmark-bench-gui: %s\n", error.what());
        status_ = kFailed;
      }
      ExitMainLoop();
    });
    return true;
  }
  int OnRun() override {
    wxApp::OnRun();
    return status_;
  }

 private:
  std::uint64_t megabytes_ = 24;
  std::uint64_t folders_ = 2100;
  std::uint64_t seed_ = 1;
  std::uint64_t runs_ = 3;
  int status_ = kFailed;
};

}  // namespace quillmark::bench

wxIMPLEMENT_APP(quillmark::bench::GuiBenchApp);
