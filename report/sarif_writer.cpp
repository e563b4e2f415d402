#include "report/sarif_writer.h"

#include <algorithm>
#include <cstdint>

#include "platform/code_page.h"
#include "platform/path.h"
#include "report/finding_text.h"
#include "report/json_string.h"

namespace quillmark::report {
namespace {

constexpr std::string_view kRuleId = "QM0001";
constexpr std::string_view kBaseId = "SRCROOT";
constexpr std::string_view kHex = "0123456789ABCDEF";

std::string_view NotificationLevel(engine::Diagnostic::Kind kind) {
  return kind == engine::Diagnostic::Kind::LiteralNotClosed ? "warning" : "error";
}

std::string NotificationText(const engine::Diagnostic& diagnostic) {
  switch (diagnostic.kind) {
    case engine::Diagnostic::Kind::CannotOpenFile: return "Cannot open the file: " + diagnostic.text;
    case engine::Diagnostic::Kind::CannotListFolder: return "Cannot list the folder: " + diagnostic.text;
    case engine::Diagnostic::Kind::CannotReadFile: return "Cannot read the file: " + diagnostic.text;
    case engine::Diagnostic::Kind::LiteralNotClosed:
      if (diagnostic.restScanned) return "A literal is not closed on its line: " + platform::ToDisplayText(diagnostic.text);
      return "A literal is not closed on its line; the rest of the file is not scanned: " + platform::ToDisplayText(diagnostic.text);
  }
  return diagnostic.text;
}

// A physical location under the root; a folder's URI ends with "/", the
// root's own is "./".
void AppendLocation(std::string_view path, bool folder, std::int64_t line, std::string& out) {
  std::string uri = PercentEncodePath(path);
  if (folder) uri += uri.empty() ? "./" : "/";
  out += R"({"physicalLocation":{"artifactLocation":{"uri":)";
  out += JsonString(uri);
  out += R"(,"uriBaseId":")";
  out += kBaseId;
  out += "\"}";
  if (line > 0) {
    out += R"(,"region":{"startLine":)";
    out += std::to_string(line);
    out += '}';
  }
  out += "}}";
}

class SarifWriter : public FormatWriter {
 public:
  explicit SarifWriter(const ReportContext& context) : context_(context) {}

  void AddFinding(const engine::Finding& finding, std::string& /*out*/) override {
    const std::string text = JsonString(ContentText(finding));
    if (!results_.empty()) results_ += ',';
    results_ += R"({"ruleId":")";
    results_ += kRuleId;
    results_ += R"(","ruleIndex":0,"level":"note","message":{"text":)";
    results_ += text;
    results_ += R"(},"locations":[{"physicalLocation":{"artifactLocation":{"uri":)";
    results_ += JsonString(PercentEncodePath(finding.path));
    results_ += R"(,"uriBaseId":")";
    results_ += kBaseId;
    results_ += R"("},"region":{"startLine":)";
    results_ += std::to_string(finding.line);
    results_ += R"(,"startColumn":)";
    results_ += std::to_string(finding.column);
    // A raw string's line breaks are the file's own: its region ends on
    // its last line (no end column, as no single-line region has one).
    if (finding.raw) {
      results_ += R"(,"endLine":)";
      results_ += std::to_string(finding.line + std::count(finding.content.begin(), finding.content.end(), '\n'));
    }
    results_ += R"(,"snippet":{"text":)";
    results_ += text;
    results_ += "}}}}]";
    if (context_.lexer == engine::Lexer::C) {
      results_ += R"(,"properties":{"prefix":)";
      results_ += JsonString(finding.prefix);
      results_ += R"(,"raw":)";
      results_ += finding.raw ? "true" : "false";
      results_ += '}';
    }
    results_ += '}';
  }

  void AddDiagnostic(const engine::Diagnostic& diagnostic, std::string& /*out*/) override {
    if (!notifications_.empty()) notifications_ += ',';
    notifications_ += R"({"level":")";
    notifications_ += NotificationLevel(diagnostic.kind);
    notifications_ += R"(","message":{"text":)";
    notifications_ += JsonString(NotificationText(diagnostic));
    notifications_ += R"(},"locations":[)";
    const bool literal = diagnostic.kind == engine::Diagnostic::Kind::LiteralNotClosed;
    AppendLocation(diagnostic.path, diagnostic.kind == engine::Diagnostic::Kind::CannotListFolder,
                   literal ? diagnostic.line : 0, notifications_);
    notifications_ += "]}";
  }

  void End(const ScanSummary& summary, std::string& out) override {
    std::string root = PercentEncodePath(context_.rootAbsolute);
    // A drive's colon stays as it is in a file URI: file:///C:/src/.
    if (root.size() >= 4 && root.compare(1, 3, "%3A") == 0) root.replace(1, 3, ":");
    if (root.empty() || root.back() != '/') root += '/';
    out += R"({"$schema":"https://json.schemastore.org/sarif-2.1.0.json","version":"2.1.0","runs":[{)";
    out += R"("tool":{"driver":{"name":"Quillmark","version":)";
    out += JsonString(context_.version);
    out += R"(,"rules":[{"id":")";
    out += kRuleId;
    out += R"(","name":"JapaneseLiteral","shortDescription":{"text":"A string or character literal holds Japanese text."},)";
    out += R"("defaultConfiguration":{"level":"note"}}]}},)";
    out += R"("invocations":[{"executionSuccessful":)";
    out += summary.completed ? "true" : "false";
    if (!notifications_.empty()) {
      out += R"(,"toolExecutionNotifications":[)";
      out += notifications_;
      out += ']';
    }
    out += R"(}],"originalUriBaseIds":{")";
    out += kBaseId;
    out += R"(":{"uri":)";
    out += JsonString("file://" + (root.front() == '/' ? root : "/" + root));
    out += R"(}},"columnKind":"unicodeCodePoints","results":[)";
    out += results_;
    out += "]}]}\n";
  }

 private:
  ReportContext context_;
  std::string results_;        // the results so far, comma-separated
  std::string notifications_;  // the same for the notifications
};

}  // namespace

std::unique_ptr<FormatWriter> MakeSarifWriter(const ReportContext& context) {
  return std::make_unique<SarifWriter>(context);
}

std::string PercentEncodePath(std::string_view path) {
  std::string out;
  for (char c : path) {
    // URIs separate with "/" whatever the system's separator is.
    if (c == platform::kPathSeparator) c = '/';
    const auto b = static_cast<unsigned char>(c);
    const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                            c == '.' || c == '_' || c == '~' || c == '/';
    if (unreserved) {
      out += c;
    } else {
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 15];
    }
  }
  return out;
}

std::string JsonString(std::string_view text) {
  std::string out;
  AppendJsonString(ToValidUtf8(text), out, kSarifEscapes);
  return out;
}

}  // namespace quillmark::report
