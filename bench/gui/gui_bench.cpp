// quillmark-bench-gui [--megabytes N] [--folders N] [--seed N]: how long
// the desktop program's search takes on a big generated tree, rows and log
// included, next to quillmark-scan over the same tree in the same run; at
// half the size and at the full size, so that growth shows. Needs an X
// display (run it under xvfb-run -a). Exit status 1 when the window's rows
// or outcome do not match the tree, 2 on a usage or set-up error.

#include <wx/app.h>
#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>

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
  double seconds = 0;
  long rows = 0;
  std::string outcome;  // the text of the outcome box
};

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

  const Clock::time_point start = Clock::now();
  searchButton->ProcessWindowEvent(click);
  run.seconds = std::chrono::duration<double>(Clock::now() - start).count();

  run.rows = dynamic_cast<wxListCtrl*>(window.FindWindow(res::kResultList))->GetItemCount();
  app::ReplaceMessageBox(std::move(previous));
  return run;
}

// The scanner as a script runs it: findings printed, then --log, which
// traces as much as the window's log pane holds.
struct ScannerTimes {
  double findings = 0;
  double log = 0;
};

ScannerTimes TimeScanner(const std::string& root, const std::string& encoding) {
  ScannerTimes times;
  times.findings = RunScannerProcess(QUILLMARK_SCAN_PATH, {"--encoding", encoding, root}).seconds;
  times.log = RunScannerProcess(QUILLMARK_SCAN_PATH, {"--log", "--encoding", encoding, root}).seconds;
  return times;
}

bool Report(const char* name, const GuiRun& run, const TreeStats& expected, const ScannerTimes& scanner) {
  std::printf("  %-4s window %6.2f s | quillmark-scan %5.2f s, --log %5.2f s | window/scan x%.1f | "
              "%.0f rows/s, rows %ld of %llu, %s\n",
              name, run.seconds, scanner.findings, scanner.log,
              scanner.findings > 0 ? run.seconds / scanner.findings : 0.0,
              run.seconds > 0 ? static_cast<double>(run.rows) / run.seconds : 0.0, run.rows,
              static_cast<unsigned long long>(expected.findings), run.outcome.c_str());
  return run.rows == static_cast<long>(expected.findings) && run.outcome == "解析完了";
}

// Generates a tree of `megabytes` over `folders` folders, searches it with
// the scanner and in the window, and prints both.
bool RunOneSize(const TempFolder& folder, std::uint64_t megabytes, std::size_t folders, std::uint64_t seed) {
  TreeShape shape;
  shape.totalBytes = megabytes << 20;
  shape.folderCount = folders;
  shape.seed = seed;
  const std::string root = folder.Path() + "/tree-" + std::to_string(megabytes);
  const GeneratedTree tree = GenerateTree(root, shape);
  std::printf("tree of %llu MiB: %llu files, %llu folders, %llu findings\n",
              static_cast<unsigned long long>(megabytes),
              static_cast<unsigned long long>(tree.sjis.files + tree.euc.files),
              static_cast<unsigned long long>(tree.sjis.folders + tree.euc.folders),
              static_cast<unsigned long long>(tree.sjis.findings + tree.euc.findings));

  // Both read the tree from the page cache: the scanner's first run warms it.
  RunScannerProcess(QUILLMARK_SCAN_PATH, {"--encoding", "SJIS", tree.sjisRoot});
  RunScannerProcess(QUILLMARK_SCAN_PATH, {"--encoding", "EUC", tree.eucRoot});
  const ScannerTimes sjisScanner = TimeScanner(tree.sjisRoot, "SJIS");
  const ScannerTimes eucScanner = TimeScanner(tree.eucRoot, "EUC");

  auto* window = new app::MainDialog(root + "/quillmark.ini");
  window->Show();
  const GuiRun sjis = SearchInWindow(*window, tree.sjisRoot, "SJIS");
  const GuiRun euc = SearchInWindow(*window, tree.eucRoot, "EUC");
  const double logMiB = static_cast<double>(window->GetLogText().size()) / (1024.0 * 1024.0);
  window->Destroy();
  wxTheApp->ProcessPendingEvents();

  bool matched = Report("SJIS", sjis, tree.sjis, sjisScanner);
  matched = Report("EUC", euc, tree.euc, eucScanner) && matched;
  std::printf("  log text after both searches: %.1f MiB\n", logMiB);
  return matched;
}

int RunBench(std::uint64_t megabytes, std::size_t folders, std::uint64_t seed) {
  TempFolder folder("quillmark-bench-gui-");
  bool matched = RunOneSize(folder, std::max<std::uint64_t>(1, megabytes / 2), folders, seed);
  matched = RunOneSize(folder, megabytes, folders, seed) && matched;
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
      } else {
        std::fprintf(stderr, "usage: quillmark-bench-gui [--megabytes N] [--folders N] [--seed N]\n");
        return false;
      }
    }
    // The searches run inside the main loop, as a click would in the
    // program, so that the pump between folders has a loop to dispatch.
    CallAfter([this] {
      try {
        status_ = RunBench(megabytes_, static_cast<std::size_t>(folders_), seed_);
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
  int status_ = kFailed;
};

}  // namespace quillmark::bench

wxIMPLEMENT_APP(quillmark::bench::GuiBenchApp);
