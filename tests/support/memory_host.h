// A host that keeps trace lines and findings in memory.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/finder_host.h"

namespace quillmark::testing {

class MemoryHost : public engine::FinderHost {
 public:
  explicit MemoryHost(std::string rootPath = {}) : rootPath(std::move(rootPath)) {}

  void Trace(std::string_view line) override { traceLines.emplace_back(line); }
  void FlushTrace() override { ++flushCount; }
  void AddFinding(const engine::Finding& finding) override { findings.push_back(finding); }
  bool IsStopRequested() override { return stopRequested; }
  std::string GetRootPath() override { return rootPath; }
  bool PumpMessages() override {
    ++pumpCount;
    if (onPump) onPump(*this);
    return !quitOnPump;
  }

  std::string rootPath;
  std::vector<std::string> traceLines;
  engine::FindingList findings;
  bool stopRequested = false;
  bool quitOnPump = false;
  int flushCount = 0;
  int pumpCount = 0;
  std::function<void(MemoryHost&)> onPump;  // what the user does during a pump
};

}  // namespace quillmark::testing
