#include "cli/console_host.h"

#include "platform/code_page.h"

namespace quillmark::cli {

void ConsoleHost::Write(std::string_view bytes) {
  if (outputFailed_) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), out_) != bytes.size()) outputFailed_ = true;
}

void ConsoleHost::Trace(std::string_view line) {
  if (output_ != ConsoleOutput::Log) return;
  record_.assign(line);
  record_ += '\n';
  Write(record_);
}

void ConsoleHost::FlushTrace() {
  if (!outputFailed_ && std::fflush(out_) != 0) outputFailed_ = true;
}

void ConsoleHost::AddFinding(const engine::Finding& finding) {
  ++findingCount_;
  switch (output_) {
    case ConsoleOutput::Log:
      return;
    case ConsoleOutput::RawFindings:
      record_.assign(finding.text).append(1, '\t').append(finding.line).append(1, '\t');
      record_.append(finding.path).append(1, '\n');
      break;
    case ConsoleOutput::Findings: {
      std::string_view text = finding.text;
      while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
      record_.assign(finding.path).append(1, ':').append(finding.line).append(": ");
      if (engine::HasUtf8Text(finding)) record_.append(text);
      else record_.append(platform::Cp932ToUtf8(text));
      record_.append(1, '\n');
      break;
    }
  }
  Write(record_);
}

}  // namespace quillmark::cli
