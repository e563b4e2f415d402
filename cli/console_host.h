// The engine's host on a console: findings or trace lines to a stream.
#pragma once

#include <cstdio>
#include <string>

#include "engine/finder_host.h"

namespace quillmark::cli {

enum class ConsoleOutput {
  Findings,     // PATH:LINE: TEXT, text in UTF-8
  RawFindings,  // TEXT TAB LINE TAB PATH, text as recorded (Shift_JIS, or a UTF-8 file's own)
  Log,          // every trace line, byte for byte
};

class ConsoleHost final : public engine::FinderHost {
 public:
  ConsoleHost(std::FILE* out, ConsoleOutput output, std::string rootPath)
      : out_(out), output_(output), rootPath_(std::move(rootPath)) {}

  void Trace(std::string_view line) override;
  void FlushTrace() override;
  bool WantsTrace() const override { return output_ == ConsoleOutput::Log; }
  void AddFinding(const engine::Finding& finding) override;
  // Once a write has failed (the reader is gone, the disk is full) the
  // walk has nobody to report to: it stops at the next entry.
  bool IsStopRequested() override { return outputFailed_; }
  std::string GetRootPath() override { return rootPath_; }
  bool PumpMessages() override { return true; }

  std::size_t FindingCount() const { return findingCount_; }
  bool OutputFailed() const { return outputFailed_; }

 private:
  void Write(std::string_view bytes);

  std::FILE* out_;
  ConsoleOutput output_;
  std::string rootPath_;
  std::size_t findingCount_ = 0;
  bool outputFailed_ = false;
  std::string record_;
};

}  // namespace quillmark::cli
