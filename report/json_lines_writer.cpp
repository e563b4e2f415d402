#include "report/json_lines_writer.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>

#include "engine/euc_encoding.h"
#include "platform/code_page.h"
#include "report/finding_text.h"

namespace quillmark::report {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// True when `decoded`, which Cp932ToUtf8 made of `sjis`, gives those bytes
// back: no byte was replaced and no two spellings were folded into one.
bool DecodedLosslessly(std::string_view sjis, std::string_view decoded) {
  if (decoded.find(kReplacement) != std::string_view::npos) return false;
  const std::optional<std::string> back = platform::Utf8ToCp932(decoded);
  return back && *back == sjis;
}

// `text` as a JSON string when it is the lossless UTF-8 reading of
// `original`, else the original bytes in base64.
void AppendText(std::string_view original, const std::optional<std::string>& text, std::string& out) {
  if (text) {
    AppendJsonString(*text, out);
    return;
  }
  out += "{\"bytes\":\"";
  out += Base64(original);
  out += "\"}";
}

void AppendUtf8OrBytes(std::string_view bytes, std::string& out) {
  AppendText(bytes, platform::IsValidUtf8(bytes) ? std::optional<std::string>(bytes) : std::nullopt, out);
}

// A line of a file whose encoding the diagnostic does not carry: as it is
// displayed, when that keeps every byte.
void AppendLineText(std::string_view bytes, std::string& out) {
  std::string shown = platform::ToDisplayText(bytes);
  const bool kept = platform::IsValidUtf8(bytes) || DecodedLosslessly(bytes, shown);
  AppendText(bytes, kept ? std::optional(std::move(shown)) : std::nullopt, out);
}

std::optional<std::string> LosslessContentText(const engine::Finding& finding) {
  std::string text = ContentText(finding);
  switch (finding.encoding) {
    case engine::SourceEncoding::Utf8:
      if (!platform::IsValidUtf8(text)) return std::nullopt;
      break;
    case engine::SourceEncoding::ShiftJis:
      if (!DecodedLosslessly(finding.content, text)) return std::nullopt;
      break;
    case engine::SourceEncoding::EucJp: {
      if (!platform::IsWellFormedEucJp(finding.content)) return std::nullopt;
      std::string sjis;
      engine::EucEncoding().ToShiftJis(finding.content, sjis);
      if (!DecodedLosslessly(sjis, text)) return std::nullopt;
      break;
    }
  }
  return text;
}

std::string_view DiagnosticKindName(engine::Diagnostic::Kind kind) {
  switch (kind) {
    case engine::Diagnostic::Kind::CannotOpenFile: return "cannot_open";
    case engine::Diagnostic::Kind::LiteralNotClosed: return "literal_not_closed";
    case engine::Diagnostic::Kind::CannotListFolder: return "cannot_list_folder";
    case engine::Diagnostic::Kind::CannotReadFile: return "cannot_read";
  }
  return {};
}

void AppendNumber(std::string_view name, std::uint64_t value, std::string& out) {
  out += ",\"";
  out += name;
  out += "\":";
  out += std::to_string(value);
}

// Fixed with three decimals; to_chars, because printf would follow a
// locale's decimal comma.
void AppendSeconds(double seconds, std::string& out) {
  if (!std::isfinite(seconds) || seconds < 0) seconds = 0;
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, seconds, std::chars_format::fixed, 3);
  out.append(buffer, result.ptr);
}

class JsonLinesWriter : public FormatWriter {
 public:
  explicit JsonLinesWriter(const ReportContext& context)
      : root_(context.root), lexedAsC_(context.lexer == engine::Lexer::C) {}

  void AddFinding(const engine::Finding& finding, std::string& out) override {
    out += "{\"type\":\"finding\",\"path\":";
    AppendUtf8OrBytes(PathFromRoot(root_, finding.path), out);
    out += ",\"line\":";
    out += std::to_string(finding.line);
    out += ",\"column\":";
    out += std::to_string(finding.column);
    out += ",\"text\":";
    AppendText(finding.content, LosslessContentText(finding), out);
    out += ",\"encoding\":\"";
    out += EncodingName(finding.encoding);
    out += "\",\"kind\":\"";
    out += finding.quote == '\'' ? "character" : "string";
    out += '"';
    if (lexedAsC_) {
      out += ",\"prefix\":";
      AppendJsonString(finding.prefix, out);
      out += ",\"raw\":";
      out += finding.raw ? "true" : "false";
    }
    out += "}\n";
  }

  void AddDiagnostic(const engine::Diagnostic& diagnostic, std::string& out) override {
    const bool literal = diagnostic.kind == engine::Diagnostic::Kind::LiteralNotClosed;
    out += "{\"type\":\"diagnostic\",\"kind\":\"";
    out += DiagnosticKindName(diagnostic.kind);
    out += "\",\"path\":";
    AppendUtf8OrBytes(PathFromRoot(root_, diagnostic.path), out);
    if (literal) {
      out += ",\"line\":";
      out += std::to_string(diagnostic.line);
    }
    out += ",\"text\":";
    // The system's reason is UTF-8 text; the rest of a line is the file's.
    if (literal) AppendLineText(diagnostic.text, out);
    else AppendUtf8OrBytes(diagnostic.text, out);
    out += "}\n";
  }

  void End(const ScanSummary& summary, std::string& out) override {
    out += "{\"type\":\"summary\",\"files\":{";
    bool first = true;
    for (const auto& [encoding, count] : summary.filesByEncoding) {
      if (!first) out += ',';
      first = false;
      AppendUtf8OrBytes(encoding, out);
      out += ':';
      out += std::to_string(count);
    }
    out += '}';
    AppendNumber("folders", summary.folders, out);
    AppendNumber("files_scanned", summary.files, out);
    AppendNumber("files_ended_early", summary.filesEndedEarly, out);
    AppendNumber("findings", summary.findings, out);
    AppendNumber("bytes", summary.bytes, out);
    out += ",\"completed\":";
    out += summary.completed ? "true" : "false";
    out += ",\"elapsed_seconds\":";
    AppendSeconds(summary.seconds, out);
    out += "}\n";
  }

 private:
  std::string root_;
  bool lexedAsC_;
};

}  // namespace

std::unique_ptr<FormatWriter> MakeJsonLinesWriter(const ReportContext& context) {
  return std::make_unique<JsonLinesWriter>(context);
}

std::string Base64(std::string_view bytes) {
  static constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const std::uint32_t v = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << 16 |
                            static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8 |
                            static_cast<unsigned char>(bytes[i + 2]);
    out += kAlphabet[v >> 18];
    out += kAlphabet[(v >> 12) & 63];
    out += kAlphabet[(v >> 6) & 63];
    out += kAlphabet[v & 63];
  }
  const std::size_t rest = bytes.size() - i;
  if (rest == 0) return out;
  std::uint32_t v = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << 16;
  if (rest == 2) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
  out += kAlphabet[v >> 18];
  out += kAlphabet[(v >> 12) & 63];
  out += rest == 2 ? kAlphabet[(v >> 6) & 63] : '=';
  out += '=';
  return out;
}

}  // namespace quillmark::report
