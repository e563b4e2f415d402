#include "bench/process_report.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace quillmark::bench {
namespace {

double Mib(std::uint64_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

unsigned long long Count(std::uint64_t value) { return static_cast<unsigned long long>(value); }

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

bool Ran(const ProcessTreeReport& tree, ProcessCommand command) { return !tree[command].seconds.empty(); }

// The median of each round's own ratio: a ratio of two runs close in time,
// so that the machine's drift over the rounds cancels.
double MedianRatio(const ProcessTreeReport& tree, ProcessCommand over, ProcessCommand under) {
  const std::vector<double>& a = tree[over].seconds;
  const std::vector<double>& b = tree[under].seconds;
  std::vector<double> ratios;
  for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
    if (b[i] > 0) ratios.push_back(a[i] / b[i]);
  return Median(ratios);
}

void PrintCommand(const CommandTimes& times, std::uint64_t bytes) {
  if (times.seconds.empty()) return;
  const double median = Median(times.seconds);
  std::printf("  %-34s %8.4f s %8.4f s %8.4f s %8.1f %8.1f\n", times.label.c_str(), median,
              *std::min_element(times.seconds.begin(), times.seconds.end()), Median(times.cpuSeconds),
              Mib(bytes) / median, static_cast<double>(times.peakKib) / 1024.0);
}

struct Target {
  std::string text;
  bool measured = true;
  bool met = true;
};

std::string Figure(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", value);
  return text;
}

// -j N over `under` on each tree that holds `wanted`, within `bound`.
Target RatioTarget(const ProcessReport& report, std::string text, ProcessCommand over, ProcessCommand under,
                   bool ProcessTargets::*wanted, double bound, bool strict) {
  Target target;
  for (const ProcessTreeReport& tree : report.trees) {
    if (wanted != nullptr && !(tree.tree.targets.*wanted)) continue;
    if (!Ran(tree, over) || !Ran(tree, under)) {
      target.measured = false;
      text += " " + tree.tree.name + " tree not run,";
      continue;
    }
    const double ratio = MedianRatio(tree, over, under);
    target.met = target.met && (strict ? ratio < bound : ratio <= bound);
    text += " " + tree.tree.name + " tree " + Figure(ratio) + ",";
  }
  text.back() = ';';
  target.text = text + (strict ? " below " : " at most ") + Figure(bound);
  return target;
}

std::vector<Target> Targets(const ProcessReport& report) {
  const std::string threads = std::to_string(report.setup.threads);
  std::vector<Target> targets;
  if (report.setup.threads >= 2)
    targets.push_back(RatioTarget(report, "quillmark-scan -j " + threads + " / cat:", ProcessCommand::ScanParallel,
                                  ProcessCommand::Cat, &ProcessTargets::plainRead, kPlainReadTargetRatio, false));
  targets.push_back(RatioTarget(report, "-j " + threads + " / -j 1:", ProcessCommand::ScanParallel,
                                ProcessCommand::Scan, nullptr, kParallelTargetRatio, false));
  targets.push_back(RatioTarget(report, "-j " + threads + " / -j 1 with --log:", ProcessCommand::LogParallel,
                                ProcessCommand::Log, nullptr, kParallelTargetRatio, false));
  if (report.setup.byteSearcher)
    targets.push_back(RatioTarget(report, "quillmark-scan -j " + threads + " / rg -j " + threads + ":",
                                  ProcessCommand::ScanParallel, ProcessCommand::ByteSearch, &ProcessTargets::byteSearch,
                                  kByteSearchTargetRatio, true));
  return targets;
}

}  // namespace

void PrintProcessReport(const ProcessReport& report) {
  const ProcessSetup& setup = report.setup;
  std::printf("whole processes: %s\n", setup.scanner.c_str());
  if (setup.scannerTakesThreads)
    std::printf("  -j N: N = %u, the cores\n", setup.threads);
  else
    std::printf("  this quillmark-scan takes no -j: it runs without, and -j N is not measured\n");
  if (!setup.byteSearcher) std::printf("  rg is not installed: its search is left out\n");
  for (const ProcessTreeReport& tree : report.trees) {
    const TreeStats& stats = tree.tree.stats;
    std::printf(
        "\n%s tree: %.1f MiB of Shift_JIS in %llu files, %llu folders, %llu findings in %llu lines "
        "(one in %.1f)\n",
        tree.tree.name.c_str(), Mib(stats.bytes), Count(stats.files), Count(stats.folders), Count(stats.findings),
        Count(stats.lines),
        static_cast<double>(stats.lines) / static_cast<double>(std::max<std::uint64_t>(stats.findings, 1)));
    const std::string heading = "median of " + std::to_string(tree.tree.rounds) + " rounds";
    std::printf("  %-34s %10s %10s %10s %8s %8s\n", heading.c_str(), "wall", "best", "CPU", "MiB/s", "peak MiB");
    for (const CommandTimes& times : tree.commands) PrintCommand(times, stats.bytes);
    if (Ran(tree, ProcessCommand::ScanParallel)) {
      std::printf("  -j N / -j 1 %.3f, --log %.3f; -j N / cat %.3f, --log %.3f",
                  MedianRatio(tree, ProcessCommand::ScanParallel, ProcessCommand::Scan),
                  MedianRatio(tree, ProcessCommand::LogParallel, ProcessCommand::Log),
                  MedianRatio(tree, ProcessCommand::ScanParallel, ProcessCommand::Cat),
                  MedianRatio(tree, ProcessCommand::LogParallel, ProcessCommand::Cat));
      std::printf("; -j N / one-buffer read %.3f",
                  MedianRatio(tree, ProcessCommand::ScanParallel, ProcessCommand::PlainRead));
      if (Ran(tree, ProcessCommand::ByteSearch))
        std::printf("; -j N / rg %.3f", MedianRatio(tree, ProcessCommand::ScanParallel, ProcessCommand::ByteSearch));
      std::printf("\n");
    }
    std::printf("  %s / cat %.3f, --log %.3f\n", setup.scannerTakesThreads ? "-j 1" : "quillmark-scan",
                MedianRatio(tree, ProcessCommand::Scan, ProcessCommand::Cat),
                MedianRatio(tree, ProcessCommand::Log, ProcessCommand::Cat));
  }
}

bool PrintProcessTargets(const ProcessReport& report) {
  bool met = true;
  std::printf("whole-process targets, ratios of the median of each round's own\n");
  for (const Target& target : Targets(report)) {
    std::printf("  %s: %s\n", target.text.c_str(), !target.measured ? "NOT MEASURED" : target.met ? "met" : "NOT MET");
    met = met && target.measured && target.met;
  }
  return met;
}

}  // namespace quillmark::bench
