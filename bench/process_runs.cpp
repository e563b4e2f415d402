#include "bench/process_runs.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <thread>
#include <utility>

#include "bench/child_process.h"
#include "bench/engine_runs.h"
#include "bench/interrupt.h"
#include "bench/output_files.h"
#include "bench/plain_reader.h"
#include "engine/search_setup.h"
#include "platform/path.h"

namespace quillmark::bench {
namespace {

// Any byte from 0x80 up, as bytes, not code points: no lexing, no decoding.
constexpr const char* kNonAsciiBytePattern = "[\\x80-\\xff]";

struct PreparedCommand {
  ProcessCommand id;
  std::string label;
  std::vector<std::string> command;
  ChildStreams streams;
  int exitStatus = 0;  // what the checked run returned; every timed run must too
};

std::vector<std::string> ScanCommand(const ProcessSetup& setup, unsigned threads, bool log, const std::string& root) {
  std::vector<std::string> command{setup.scanner};
  if (setup.scannerTakesThreads) command.insert(command.end(), {"-j", std::to_string(threads)});
  if (log) command.push_back("--log");
  command.insert(command.end(), {"--encoding", "SJIS", root});
  return command;
}

std::string ScanLabel(const ProcessSetup& setup, unsigned threads, bool log) {
  std::string label = "quillmark-scan";
  if (setup.scannerTakesThreads) label += " -j " + std::to_string(threads);
  return log ? label + " --log" : label;
}

// rg on exactly the scanner's files: its extensions, case kept; no ignore
// files, hidden files and folder links included; every file read as text.
// Each matching line is printed, PATH:LINE:TEXT, as the scanner prints
// each finding: the same kind of output, for far less work on the input.
std::vector<std::string> ByteSearchCommand(const ProcessSetup& setup, const std::string& root) {
  std::vector<std::string> command{*setup.byteSearcher, "-j", std::to_string(setup.threads)};
  command.insert(command.end(),
                 {"--no-config", "--no-ignore", "--hidden", "--follow", "--text", "--no-unicode", "--line-number",
                  "--no-heading"});
  for (const std::string& extension : engine::BuildExtensionList(kSourceExtensions))
    command.insert(command.end(), {"--glob", "*." + extension});
  command.insert(command.end(), {"--regexp", kNonAsciiBytePattern, root});
  return command;
}

PreparedCommand Prepare(ProcessCommand id, std::string label, std::vector<std::string> command) {
  PreparedCommand prepared;
  prepared.id = id;
  prepared.label = std::move(label);
  prepared.command = std::move(command);
  return prepared;
}

// cat with the files as its arguments, one process like the scanner; xargs
// splits a list too long for one command line.
PreparedCommand CatCommand(const std::vector<std::string>& files, const std::string& fileList) {
  std::size_t argumentBytes = 0;
  for (const std::string& file : files) argumentBytes += file.size() + 1 + sizeof(char*);
  if (argumentBytes < static_cast<std::size_t>(std::max(sysconf(_SC_ARG_MAX), 0L)) / 2) {
    std::vector<std::string> command{"cat", "--"};
    command.insert(command.end(), files.begin(), files.end());
    return Prepare(ProcessCommand::Cat, "cat FILES", std::move(command));
  }
  PreparedCommand command = Prepare(ProcessCommand::Cat, "xargs -0 cat", {"xargs", "-0", "-r", "cat", "--"});
  command.streams.input = fileList;
  return command;
}

std::vector<PreparedCommand> PrepareCommands(const ProcessSetup& setup, const ProcessTree& tree,
                                             const std::vector<std::string>& files, const std::string& fileList) {
  std::vector<PreparedCommand> commands;
  commands.push_back(Prepare(ProcessCommand::PlainRead, "one-buffer read: quillmark-bench-read", {setup.reader}));
  commands.back().streams.input = fileList;
  commands.push_back(CatCommand(files, fileList));
  commands.push_back(
      Prepare(ProcessCommand::Scan, ScanLabel(setup, 1, false), ScanCommand(setup, 1, false, tree.root)));
  if (setup.scannerTakesThreads)
    commands.push_back(Prepare(ProcessCommand::ScanParallel, ScanLabel(setup, setup.threads, false),
                               ScanCommand(setup, setup.threads, false, tree.root)));
  commands.push_back(Prepare(ProcessCommand::Log, ScanLabel(setup, 1, true), ScanCommand(setup, 1, true, tree.root)));
  if (setup.scannerTakesThreads)
    commands.push_back(Prepare(ProcessCommand::LogParallel, ScanLabel(setup, setup.threads, true),
                               ScanCommand(setup, setup.threads, true, tree.root)));
  if (setup.byteSearcher)
    commands.push_back(Prepare(ProcessCommand::ByteSearch,
                               "rg -j " + std::to_string(setup.threads) + " -n '" + kNonAsciiBytePattern + "'",
                               ByteSearchCommand(setup, tree.root)));
  return commands;
}

// Runs `command` once with its output kept in `output`.
ChildRun RunToFile(const PreparedCommand& command, const std::string& output) {
  ChildStreams streams = command.streams;
  streams.output = output;
  const ChildRun run = RunChild(command.command, streams);
  if (!run.started) throw std::runtime_error("cannot start " + command.command.front());
  return run;
}

PreparedCommand* Find(std::vector<PreparedCommand>& commands, ProcessCommand id) {
  for (PreparedCommand& command : commands)
    if (command.id == id) return &command;
  return nullptr;
}

// The untimed runs: each command's output checked against the tree, and
// -j N's byte for byte against -j 1's. They also warm the page cache.
std::string CheckOutputs(std::vector<PreparedCommand>& commands, const ProcessTree& tree,
                         const std::vector<std::string>& files, const std::string& workFolder) {
  std::string problems;
  const auto problem = [&](const std::string& what) { problems += " " + tree.name + " tree: " + what + ";"; };
  const std::string output = platform::JoinPath(workFolder, tree.name + ".out");
  const std::string sequentialOutput = platform::JoinPath(workFolder, tree.name + ".sequential");
  const int scanExit = tree.stats.findings > 0 ? 1 : 0;

  PreparedCommand& plainRead = *Find(commands, ProcessCommand::PlainRead);
  plainRead.exitStatus = RunToFile(plainRead, output).exitStatus;
  const std::uint64_t bytesRead = ReadCount(output);
  if (plainRead.exitStatus != 0 || bytesRead != tree.stats.bytes)
    problem("the plain read exited with " + std::to_string(plainRead.exitStatus) + " after " +
            std::to_string(bytesRead) + " bytes, expected " + std::to_string(tree.stats.bytes));
  PreparedCommand& cat = *Find(commands, ProcessCommand::Cat);
  cat.exitStatus = RunToFile(cat, "/dev/null").exitStatus;
  if (cat.exitStatus != 0) problem(cat.label + " exited with " + std::to_string(cat.exitStatus));

  const std::pair<ProcessCommand, ProcessCommand> forms[] = {{ProcessCommand::Scan, ProcessCommand::ScanParallel},
                                                             {ProcessCommand::Log, ProcessCommand::LogParallel}};
  for (const auto& [sequentialId, parallelId] : forms) {
    PreparedCommand& sequential = *Find(commands, sequentialId);
    sequential.exitStatus = RunToFile(sequential, sequentialOutput).exitStatus;
    const std::uint64_t lines = CountLines(sequentialOutput);
    const std::uint64_t expectedLines =
        sequentialId == ProcessCommand::Scan ? tree.stats.findings : ExpectedTraceLines(tree.stats);
    if (sequential.exitStatus != scanExit)
      problem(sequential.label + " exited with " + std::to_string(sequential.exitStatus));
    if (lines != expectedLines)
      problem(sequential.label + " wrote " + std::to_string(lines) + " lines, expected " +
              std::to_string(expectedLines));
    if (PreparedCommand* parallel = Find(commands, parallelId)) {
      parallel->exitStatus = RunToFile(*parallel, output).exitStatus;
      if (parallel->exitStatus != sequential.exitStatus)
        problem(parallel->label + " exited with " + std::to_string(parallel->exitStatus));
      if (!SameBytes(sequentialOutput, output))
        problem(parallel->label + " wrote other bytes than " + sequential.label);
    }
  }

  if (PreparedCommand* byteSearch = Find(commands, ProcessCommand::ByteSearch)) {
    byteSearch->exitStatus = RunToFile(*byteSearch, output).exitStatus;
    const std::uint64_t expected = CountNonAsciiLines(files);
    const std::uint64_t counted = CountLines(output);
    if (byteSearch->exitStatus != (expected > 0 ? 0 : 1))
      problem("rg exited with " + std::to_string(byteSearch->exitStatus));
    if (counted != expected)
      problem("rg printed " + std::to_string(counted) + " lines with a non-ASCII byte, expected " +
              std::to_string(expected));
  }
  std::remove(output.c_str());
  std::remove(sequentialOutput.c_str());
  return problems;
}

}  // namespace

ProcessSetup DetectProcessSetup(const std::string& scanner, const std::string& reader) {
  ProcessSetup setup;
  setup.scanner = scanner;
  setup.reader = reader;
  setup.threads = std::max(1u, std::thread::hardware_concurrency());
  ChildStreams quiet;
  quiet.errors = "/dev/null";
  // A usage error when -j is unknown; the version when it is taken.
  const ChildRun probe = RunChild({scanner, "-j", "1", "--version"}, quiet);
  if (!probe.started) throw std::runtime_error("cannot start " + scanner);
  setup.scannerTakesThreads = probe.exitStatus == 0;
  setup.byteSearcher = FindOnPath("rg");
  return setup;
}

ProcessTreeReport TimeProcesses(const ProcessSetup& setup, const ProcessTree& tree, const std::string& workFolder,
                                std::string& problems) {
  ProcessTreeReport report;
  report.tree = tree;
  const std::vector<std::string> files = ListSourceFiles(tree.root, engine::BuildExtensionList(kSourceExtensions));
  const std::string fileList = platform::JoinPath(workFolder, tree.name + ".files");
  WriteFileList(fileList, files);
  std::vector<PreparedCommand> commands = PrepareCommands(setup, tree, files, fileList);
  for (const PreparedCommand& command : commands)
    report.commands[static_cast<std::size_t>(command.id)].label = command.label;

  const std::string found = CheckOutputs(commands, tree, files, workFolder);
  problems += found;
  bool exitReported = !found.empty();  // one exit status in a timed round is enough to tell
  for (int round = 0; round < tree.rounds && !InterruptRequested(); ++round) {
    for (std::size_t i = 0; i < commands.size(); ++i) {
      const PreparedCommand& command = commands[(static_cast<std::size_t>(round) + i) % commands.size()];
      const ChildRun run = RunChild(command.command, command.streams);
      if (InterruptRequested()) break;
      if (run.exitStatus != command.exitStatus && !exitReported) {
        problems += " " + tree.name + " tree: " + command.label + " exited with " + std::to_string(run.exitStatus) +
                    " in a timed round;";
        exitReported = true;
      }
      CommandTimes& times = report.commands[static_cast<std::size_t>(command.id)];
      times.seconds.push_back(run.seconds);
      times.cpuSeconds.push_back(run.cpuSeconds);
      times.peakKib = std::max(times.peakKib, run.peakKib);
    }
  }
  std::remove(fileList.c_str());
  return report;
}

}  // namespace quillmark::bench
