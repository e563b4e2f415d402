// quillmark-scan prints the same bytes, on both streams, with the same exit
// status, whatever the number of threads that scan.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "tests/cli/scan_child.h"
#include "tests/support/temp_tree.h"
#include "tests/support/varied_source_tree.h"

namespace quillmark::cli {
namespace {

using testing::RunScanChild;
using testing::ScanChild;
using testing::TempTree;

// The time a walk took is the one thing that may differ.
std::string WithoutTimes(const std::string& text) {
  static const std::regex times(R"(("elapsed_seconds":)[0-9.]+|[0-9]+\.[0-9]{3}( seconds))");
  return std::regex_replace(text, times, "$1$2");
}

void ExpectSameAtEveryThreadCount(const std::string& root, std::vector<std::string> arguments) {
  arguments.push_back(".");
  std::vector<std::string> sequential = arguments;
  sequential.insert(sequential.begin(), "-j1");
  const ScanChild expected = RunScanChild(sequential, root);
  ASSERT_GE(expected.status, 0) << expected.err;
  for (const char* threads : {"-j2", "--threads=8"}) {
    std::vector<std::string> parallel = arguments;
    parallel.insert(parallel.begin(), threads);
    const ScanChild scan = RunScanChild(parallel, root);
    SCOPED_TRACE(std::string(threads) + " " + ::testing::PrintToString(arguments));
    EXPECT_EQ(scan.status, expected.status);
    EXPECT_EQ(WithoutTimes(scan.out), WithoutTimes(expected.out));
    EXPECT_EQ(WithoutTimes(scan.err), WithoutTimes(expected.err));
  }
}

const std::vector<std::vector<std::string>> kForms = {
    {},           {"--column"},         {"--raw"},           {"--log"},
    {"--stats"},  {"--format", "json"}, {"--format", "csv"}, {"--format", "sarif"},
    {"--format", "po"},
};

TEST(ParallelScan, EveryFormOfEveryEncodingIsTheSame) {
  TempTree tree;
  testing::WriteVariedTree(tree, {.seed = 5});
  for (const char* encoding : {"SJIS", "EUC", "UTF8", "AUTO"}) {
    for (std::vector<std::string> form : kForms) {
      form.insert(form.begin(), {"-e", encoding});
      ExpectSameAtEveryThreadCount(tree.Root(), form);
    }
  }
}

TEST(ParallelScan, AFileThatCannotBeOpenedEndsEveryFormAtTheSamePoint) {
  TempTree tree;
  testing::WriteVariedTree(tree, {.seed = 6, .withDanglingSource = true});
  for (const std::vector<std::string>& form : kForms) ExpectSameAtEveryThreadCount(tree.Root(), form);
  const ScanChild scan = RunScanChild({"-j2", "."}, tree.Root());
  EXPECT_EQ(scan.status, 2);
  EXPECT_NE(scan.err.find("./src/core/gone.c: cannot open"), std::string::npos) << scan.err;
}

}  // namespace
}  // namespace quillmark::cli
