// Hosts that keep nothing the engine hands them, so that memory stays flat
// however big the tree: one only counts findings, the other also writes
// every trace line out, so that formatting and output are paid for.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

#include "bench/interrupt.h"
#include "engine/finder_host.h"

namespace quillmark::bench {

class FindingCounterHost final : public engine::FinderHost {
 public:
  explicit FindingCounterHost(std::string rootPath) : rootPath_(std::move(rootPath)) {}

  void Trace(std::string_view) override {}
  void FlushTrace() override {}
  bool WantsTrace() const override { return false; }
  void AddFinding(const engine::Finding&) override { ++findings; }
  bool IsStopRequested() override { return InterruptRequested(); }
  std::string GetRootPath() override { return rootPath_; }
  bool PumpMessages() override { return true; }

  std::uint64_t findings = 0;

 private:
  std::string rootPath_;
};

class TraceWriterHost final : public engine::FinderHost {
 public:
  TraceWriterHost(std::string rootPath, std::FILE* out) : rootPath_(std::move(rootPath)), out_(out) {}

  void Trace(std::string_view line) override {
    std::fwrite(line.data(), 1, line.size(), out_);
    std::fputc('\n', out_);
    traceBytes += line.size() + 1;
    ++traceLines;
  }
  void FlushTrace() override { std::fflush(out_); }
  void AddFinding(const engine::Finding&) override { ++findings; }
  bool IsStopRequested() override { return InterruptRequested(); }
  std::string GetRootPath() override { return rootPath_; }
  bool PumpMessages() override { return true; }

  std::uint64_t findings = 0;
  std::uint64_t traceBytes = 0;
  std::uint64_t traceLines = 0;

 private:
  std::string rootPath_;
  std::FILE* out_;
};

}  // namespace quillmark::bench
