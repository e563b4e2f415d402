// Scans bytes as the only file of a real temporary tree.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/source_finder.h"
#include "tests/support/memory_host.h"
#include "tests/support/temp_tree.h"

namespace quillmark::testing {

struct ScanResult {
  std::vector<std::string> trace;  // the scanner's lines, after "-- analyze:"
  engine::FindingList findings;
};

inline ScanResult ScanSource(std::string_view bytes, const engine::EncodingRules& rules) {
  TempTree tree;
  tree.WriteFile("f.c", bytes);
  MemoryHost host(tree.Root());
  engine::SourceFinder finder(&rules);
  finder.SetHost(&host);
  finder.SetExtensions({"c"});
  EXPECT_TRUE(finder.Walk(tree.Root()));
  EXPECT_GE(host.traceLines.size(), 2u);
  ScanResult result;
  if (host.traceLines.size() >= 2) result.trace.assign(host.traceLines.begin() + 2, host.traceLines.end());
  result.findings = host.findings;
  return result;
}

// The finding's text as the engine pads it: content and spaces up to 20 bytes.
inline std::string Padded(std::string text) {
  if (text.size() < 20) text.resize(20, ' ');
  return text;
}

}  // namespace quillmark::testing
