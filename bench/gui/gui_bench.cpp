// quillmark-bench-gui [--megabytes N] [--seed N]: how long the desktop
// program's search takes on a big generated tree, rows and log included,
// next to the engine alone on the same tree. Needs an X display (run it
// under xvfb-run -a). Exit status 1 when the window's rows or outcome do
// not match the tree, 2 on a usage or set-up error.

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
#include "bench/engine_runs.h"
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

bool Report(const char* name, const GuiRun& run, const TreeStats& expected, double engineSeconds) {
  std::printf("%-6s window %7.2f s  engine %6.2f s  (x%.1f)  rows %ld of %llu  %s\n", name, run.seconds,
              engineSeconds, engineSeconds > 0 ? run.seconds / engineSeconds : 0.0, run.rows,
              static_cast<unsigned long long>(expected.findings), run.outcome.c_str());
  return run.rows == static_cast<long>(expected.findings) && run.outcome == "解析完了";
}

int RunBench(std::uint64_t megabytes, std::uint64_t seed) {
  TempFolder folder("quillmark-bench-gui-");
  TreeShape shape;
  shape.totalBytes = megabytes << 20;
  shape.folderCount = std::max<std::size_t>(8, static_cast<std::size_t>(2 * megabytes));
  shape.seed = seed;
  const GeneratedTree tree = GenerateTree(folder.Path() + "/tree", shape);
  std::printf("tree: %llu MiB, %llu files, %llu findings\n", static_cast<unsigned long long>(megabytes),
              static_cast<unsigned long long>(tree.sjis.files + tree.euc.files),
              static_cast<unsigned long long>(tree.sjis.findings + tree.euc.findings));

  const EngineRun engine = RunFindingsOnly(tree);

  auto* window = new app::MainDialog(folder.Path() + "/quillmark.ini");
  window->Show();
  const GuiRun sjis = SearchInWindow(*window, tree.sjisRoot, "SJIS");
  const GuiRun euc = SearchInWindow(*window, tree.eucRoot, "EUC");
  std::printf("log: %.1f MiB\n", static_cast<double>(window->GetLogText().size()) / (1024.0 * 1024.0));
  window->Destroy();

  bool matched = Report("SJIS", sjis, tree.sjis, engine.sjisSeconds);
  matched = Report("EUC", euc, tree.euc, engine.eucSeconds) && matched;
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
    std::uint64_t megabytes = 32;
    std::uint64_t seed = 1;
    for (int i = 1; i < argc; ++i) {
      const wxString argument = argv[i];
      const bool hasValue = i + 1 < argc;
      if (argument == "--megabytes" && hasValue && ParseNumber(argv[i + 1], megabytes)) {
        ++i;
      } else if (argument == "--seed" && hasValue && ParseNumber(argv[i + 1], seed)) {
        ++i;
      } else {
        std::fprintf(stderr, "usage: quillmark-bench-gui [--megabytes N] [--seed N]\n");
        status_ = kFailed;
        return true;
      }
    }
    try {
      status_ = RunBench(megabytes, seed);
    } catch (const std::exception& error) {
      std::fprintf(stderr, "quillmark-bench-gui: %s\n", error.what());
      status_ = kFailed;
    }
    return true;
  }
  int OnRun() override { return status_; }

 private:
  int status_ = kFailed;
};

}  // namespace quillmark::bench

wxIMPLEMENT_APP(quillmark::bench::GuiBenchApp);
