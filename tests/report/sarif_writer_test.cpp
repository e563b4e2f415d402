#include "report/sarif_writer.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/run_command.h"
#include "tests/support/temp_tree.h"

namespace quillmark::report {
namespace {

using engine::Diagnostic;
using engine::Finding;
using engine::SourceEncoding;

using testing::CommandResult;
using testing::RunCommand;

std::string WriteLog(const ReportContext& context, const std::vector<Finding>& findings,
                     const std::vector<Diagnostic>& diagnostics, bool completed) {
  auto writer = MakeSarifWriter(context);
  std::string out;
  writer->Begin(out);
  for (const Finding& finding : findings) writer->AddFinding(finding, out);
  for (const Diagnostic& diagnostic : diagnostics) writer->AddDiagnostic(diagnostic, out);
  EXPECT_EQ(out, "") << "the log is written at End only";
  ScanSummary summary;
  summary.completed = completed;
  writer->End(summary, out);
  return out;
}

// The validator's complaints about the log in `folder`/log.sarif: its lines
// at level error, or its whole output when it did not finish.
std::string ValidatorErrors(const testing::TempTree& tree) {
  if (!std::filesystem::exists(QUILLMARK_SARIF_VALIDATOR))
    return "no validator at " QUILLMARK_SARIF_VALIDATOR " (building report_tests installs it with npm)";
  // The wrapper hands its arguments to a shell unquoted: a bare name is safe.
  testing::ScopedCurrentDirectory inTree(tree.Root());
  const CommandResult run = RunCommand("'" QUILLMARK_SARIF_VALIDATOR "' validate log.sarif");
  if (run.status != 0 || run.output.find("Analysis completed successfully.") == std::string::npos)
    return "the validator failed: " + run.output;
  std::string errors;
  std::size_t start = 0;
  while (start < run.output.size()) {
    std::size_t end = run.output.find('\n', start);
    if (end == std::string::npos) end = run.output.size();
    const std::string line = run.output.substr(start, end - start);
    if (line.find(": error ") != std::string::npos) errors += line + "\n";
    start = end + 1;
  }
  return errors;
}

TEST(SarifPercentEncoding, KeepsUnreservedBytesAndSlashesOnly) {
  const struct {
    std::string path;
    std::string uri;
  } cases[] = {
      {"src/a-b_c.d~e/F9.c", "src/a-b_c.d~e/F9.c"},
      {"my src/a b.c", "my%20src/a%20b.c"},
      {"\xE6\x97\xA5\xE6\x9C\xAC/x.c", "%E6%97%A5%E6%9C%AC/x.c"},
      {"%#?[]@!$&'()*+,;=:", "%25%23%3F%5B%5D%40%21%24%26%27%28%29%2A%2B%2C%3B%3D%3A"},
      {"\x83\x5C\xFF.c", "%83%5C%FF.c"},
      {"a\\b", "a%5Cb"},
  };
  for (const auto& c : cases) EXPECT_EQ(PercentEncodePath(c.path), c.uri) << c.path;
}

TEST(SarifJsonString, EscapesWhatJsonRequiresAndMakesTheRestUtf8) {
  const struct {
    std::string text;
    std::string json;
  } cases[] = {
      {"plain", R"("plain")"},
      {"q\"b\\s/", R"("q\"b\\s/")"},
      {"\n\r\t\b\f", R"("\n\r\t\b\f")"},
      {std::string("\0\x01\x1F\x7F", 4), R"("\u0000\u0001\u001F\u007F")"},
      {"\xE3\x81\x82\xF0\x9F\x98\x80", "\"\xE3\x81\x82\xF0\x9F\x98\x80\""},
      {"a\xFF" "b", "\"a\xEF\xBF\xBD" "b\""},
      {"\xE3\x81", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
      {"\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
      {"\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
  };
  for (const auto& c : cases) EXPECT_EQ(JsonString(c.text), c.json) << c.json;
}

TEST(SarifWriter, WritesOneRunWithTheRuleTheResultsAndTheRootAsBase) {
  const std::string log = WriteLog({"my src", "/home/u/my src", "0.5.0"},
                                   {{"\x95\x5C\x8E\xA6\\\"%d\\n", 12, 7, "a b/c.c", SourceEncoding::ShiftJis, '"', {}}},
                                   {{Diagnostic::Kind::CannotListFolder, "", 0, "Permission denied"}}, true);
  EXPECT_EQ(log,
            R"({"$schema":"https://json.schemastore.org/sarif-2.1.0.json","version":"2.1.0","runs":[{)"
            R"("tool":{"driver":{"name":"Quillmark","version":"0.5.0","rules":[{"id":"QM0001","name":"JapaneseLiteral",)"
            R"("shortDescription":{"text":"A string or character literal holds Japanese text."},)"
            R"("defaultConfiguration":{"level":"note"}}]}},)"
            R"("invocations":[{"executionSuccessful":true,"toolExecutionNotifications":[{"level":"error",)"
            R"("message":{"text":"Cannot list the folder: Permission denied"},"locations":[{"physicalLocation":)"
            R"({"artifactLocation":{"uri":"./","uriBaseId":"SRCROOT"}}}]}]}],)"
            R"("originalUriBaseIds":{"SRCROOT":{"uri":"file:///home/u/my%20src/"}},"columnKind":"unicodeCodePoints",)"
            R"("results":[{"ruleId":"QM0001","ruleIndex":0,"level":"note","message":{"text":")"
            "\xE8\xA1\xA8\xE7\xA4\xBA"
            R"(\\\"%d\\n"},"locations":[{"physicalLocation":{"artifactLocation":{"uri":"a%20b/c.c","uriBaseId":"SRCROOT"},)"
            R"("region":{"startLine":12,"startColumn":7,"snippet":{"text":")"
            "\xE8\xA1\xA8\xE7\xA4\xBA"
            R"(\\\"%d\\n"}}}}]}]}]})"
            "\n");
}

TEST(SarifWriter, GivesEachDiagnosticItsLevelMessageAndPlace) {
  using Kind = Diagnostic::Kind;
  const struct {
    Diagnostic diagnostic;
    std::string notification;
  } cases[] = {
      {{Kind::CannotOpenFile, "d/a.c", 0, "Permission denied"},
       R"({"level":"error","message":{"text":"Cannot open the file: Permission denied"},"locations":[{"physicalLocation":)"
       R"({"artifactLocation":{"uri":"d/a.c","uriBaseId":"SRCROOT"}}}]})"},
      {{Kind::CannotListFolder, "d/sub", 0, "No such file or directory"},
       R"({"level":"error","message":{"text":"Cannot list the folder: No such file or directory"},"locations":[)"
       R"({"physicalLocation":{"artifactLocation":{"uri":"d/sub/","uriBaseId":"SRCROOT"}}}]})"},
      // The rest of a Shift_JIS line, read as CP932.
      {{Kind::LiteralNotClosed, "b.c", 9, "\"\x82\xA0\tend"},
       R"({"level":"warning","message":{"text":"A literal is not closed on its line; the rest of the file is not )"
       "scanned: \\\"\xE3\x81\x82\\tend\"},"
       R"("locations":[{"physicalLocation":{"artifactLocation":{"uri":"b.c","uriBaseId":"SRCROOT"},)"
       R"("region":{"startLine":9}}}]})"},
  };
  for (const auto& c : cases) {
    const std::string log = WriteLog({"r", "/r", "0.5.0"}, {}, {c.diagnostic}, false);
    EXPECT_NE(log.find(R"("toolExecutionNotifications":[)" + c.notification + "]"), std::string::npos) << log;
    EXPECT_NE(log.find(R"("executionSuccessful":false)"), std::string::npos);
    EXPECT_NE(log.find(R"("results":[])"), std::string::npos);
  }
}

TEST(SarifValidator, FindsNoErrorInALogOfEveryEncodingPathAndDiagnostic) {
  using Kind = Diagnostic::Kind;
  testing::TempTree tree;
  tree.WriteFile("log.sarif",
                 WriteLog({"../\xE3\x82\xBD\xE3\x83\xBC\xE3\x82\xB9 dir", "/home/u/\xE3\x82\xBD\xE3\x83\xBC\xE3\x82\xB9 dir",
                           "0.5.0"},
                          {
                              {"\x95\x5C\x8E\xA6\\\"%s\\\"", 1, 9, "sjis.c", SourceEncoding::ShiftJis, '"', {}},
                              {"\x82\xA0", 2, 3, "sjis.c", SourceEncoding::ShiftJis, '\'', {}},
                              {"\xC9\xBD\xBC\xA8\t\\n", 3, 1, "euc/e.c", SourceEncoding::EucJp, '"', {}},
                              {"\xE8\xA1\xA8\xE7\xA4\xBA\\x41", 4, 20, "my dir/\xE6\x97\xA5\xE6\x9C\xAC.c",
                               SourceEncoding::Utf8, '"', {}},
                              {"\xE3\x81\x82\xFF", 5, 2, "bad utf8.c", SourceEncoding::Utf8, '"', {}},
                          },
                          {
                              {Kind::CannotOpenFile, "locked.c", 0, "Permission denied"},
                              {Kind::CannotListFolder, "", 0, "Permission denied"},
                              {Kind::CannotListFolder, "a b/\xE6\x97\xA5", 0, "No such file or directory"},
                              {Kind::LiteralNotClosed, "open.c", 7, "\"\x82\xA0 \\"},
                          },
                          false));
  EXPECT_EQ(ValidatorErrors(tree), "");
}

// A raw string's region ends on its last line; its prefix and raw mark,
// like every C lexer's finding's, are the result's properties.
TEST(SarifWriter, GivesTheCLexersPrefixRawMarkAndRawRegion) {
  const std::vector<Finding> findings = {
      {"\x82\xA0", 3, 5, "a.c", SourceEncoding::ShiftJis, '"', "L", false},
      {"\xE3\x81\x82\n\\n\n", 3, 5, "a.c", SourceEncoding::Utf8, '"', "", true},
  };
  const std::string log = WriteLog({"r", "/r", "0.5.0", engine::Lexer::C}, findings,
                                   {{Diagnostic::Kind::LiteralNotClosed, "b.c", 2, "\"x", true}}, true);
  for (const std::string region : {
           "\"startColumn\":5,\"snippet\":{\"text\":\"\xE3\x81\x82\"}}}}],\"properties\":{\"prefix\":\"L\",\"raw\":false}}",
           "\"startColumn\":5,\"endLine\":5,\"snippet\":{\"text\":\"\xE3\x81\x82\\n\\\\n\\n\"}}}}],"
           "\"properties\":{\"prefix\":\"\",\"raw\":true}}",
           "\"text\":\"A literal is not closed on its line: \\\"x\"}",
       })
    EXPECT_NE(log.find(region), std::string::npos) << region;
  testing::TempTree tree;
  tree.WriteFile("log.sarif", log);
  EXPECT_EQ(ValidatorErrors(tree), "");
}

// The check above can fail: a log with a bad escape is reported.
TEST(SarifValidator, ReportsABrokenLog) {
  testing::TempTree tree;
  std::string log = WriteLog({"r", "/r", "0.5.0"}, {{"\x82\xA0", 1, 1, "a.c", SourceEncoding::ShiftJis, '"', {}}}, {}, true);
  log.replace(log.find(R"("text":")") + 8, 0, "\\q");
  tree.WriteFile("log.sarif", log);
  EXPECT_NE(ValidatorErrors(tree), "");
}

}  // namespace
}  // namespace quillmark::report
