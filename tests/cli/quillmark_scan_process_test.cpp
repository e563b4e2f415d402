// quillmark-scan run as a process: its outputs and exit statuses.

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/temp_tree.h"

namespace quillmark::cli {
namespace {

using testing::TempTree;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

std::string Quote(const std::string& argument) {
  std::string quoted = "'";
  for (char c : argument) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// `prefix` runs the scan through another command (setpriv, say).
Outcome RunScan(const std::vector<std::string>& arguments, const std::string& folder = ".",
                const std::string& prefix = {}) {
  TempTree capture;
  std::string command = "cd " + Quote(folder) + " && " + prefix + Quote(QUILLMARK_SCAN_PATH);
  for (const auto& argument : arguments) command += " " + Quote(argument);
  command += " >" + Quote(capture.PathOf("out")) + " 2>" + Quote(capture.PathOf("err")) + " </dev/null";
  const int raw = std::system(command.c_str());
  Outcome outcome;
  outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  outcome.out = testing::ReadWholeFile(capture.PathOf("out"));
  outcome.err = testing::ReadWholeFile(capture.PathOf("err"));
  return outcome;
}

std::size_t Occurrences(const std::string& text, const std::string& needle) {
  std::size_t count = 0;
  for (auto at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++count;
  return count;
}

class QuillmarkScan : public ::testing::Test {
 protected:
  void SetUp() override {
    tree.WriteFile("a.c", "x = \"\x82\xA0\"; y = \"abc\";\n");
    tree.WriteFile("sub/b.h", "/* \"\x82\xA2\" */\nz = '\xB1';\n");
  }
  TempTree tree;
};

TEST_F(QuillmarkScan, PrintsFindingsInTheCompilerConvention) {
  const Outcome outcome = RunScan({"."}, tree.Root());
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.out, "./a.c:1: あ\n./sub/b.h:2: ｱ\n");
  EXPECT_EQ(outcome.err, "");
}

TEST_F(QuillmarkScan, PrintsRawFindingsAsRecorded) {
  const Outcome outcome = RunScan({"--raw", "."}, tree.Root());
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.out, "\x82\xA0" + std::string(18, ' ') + "\t1\ta.c\n" + "\xB1" + std::string(19, ' ') +
                             "\t2\tsub/b.h\n");
}

TEST_F(QuillmarkScan, PrintsTheLogByteForByte) {
  const Outcome outcome = RunScan({"--log", "  .  "}, tree.Root());
  EXPECT_EQ(outcome.status, 1);
  const std::string& r = tree.Root();
  EXPECT_EQ(outcome.out, "=== directory:.\n"
                         "-- analyze:" + r + "/a.c\n"
                         "checking string:\x82\xA0\n"
                         ">> a.c : 1\n"
                         "checking string:abc\n"
                         "=== directory:" + r + "/sub\n"
                         "-- analyze:" + r + "/sub/b.h\n"
                         "checking string:\xB1\n"
                         ">> sub/b.h : 2\n");
}

TEST_F(QuillmarkScan, ReadsEucJpAndTheExtensionList) {
  tree.WriteFile("e.cc", "s = \"\xA4\xA2\";\n");
  const Outcome outcome = RunScan({"--encoding", "EUC", "--ext", ".cc", "--raw", tree.Root()});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.out, "\x82\xA0" + std::string(18, ' ') + "\t1\te.cc\n");
}

// A UTF-8 file's text goes out as written in every form; "〜" never
// becomes the full-width tilde that CP932 decoding would make of it.
TEST_F(QuillmarkScan, ReadsEachFileInItsOwnEncodingWithAuto) {
  tree.WriteFile("u.c", "s = \"〜\";\n");
  tree.WriteFile("w.c", "s = \"\xA4\xA2\x80\";\n");  // EUC-JP あ and a byte that is no character
  const Outcome found = RunScan({"--encoding", "AUTO", "."}, tree.Root());
  EXPECT_EQ(found.status, 1);
  EXPECT_EQ(found.out, "./a.c:1: あ\n./sub/b.h:2: ｱ\n./u.c:1: 〜\n./w.c:1: あ\u0080\n");

  const Outcome raw = RunScan({"--encoding", "AUTO", "--raw", "."}, tree.Root());
  EXPECT_TRUE(raw.out.ends_with("〜" + std::string(17, ' ') + "\t1\tu.c\n\x82\xA0\x80" + std::string(17, ' ') +
                                "\t1\tw.c\n"));

  const Outcome log = RunScan({"--encoding", "AUTO", "--log", "."}, tree.Root());
  EXPECT_NE(log.out.find("-- analyze:" + tree.PathOf("u.c") + "\n-- encoding:UTF-8\nchecking string:〜\n"),
            std::string::npos);

  // Read as UTF-8, the Shift_JIS and EUC-JP bytes are no Japanese characters.
  const Outcome utf8 = RunScan({"--encoding", "UTF8", tree.Root()});
  EXPECT_EQ(utf8.status, 1);
  EXPECT_EQ(utf8.out, tree.Root() + "/u.c:1: 〜\n");
}

// Paths an editor opens from where the user stands: ROOT as typed, one "/",
// the path below it.
TEST_F(QuillmarkScan, NamesFilesFromTheRootAsTyped) {
  const std::string parent = tree.Root().substr(0, tree.Root().rfind('/'));
  const std::string name = tree.Root().substr(parent.size() + 1);
  struct Case {
    std::string root;
    std::string folder;
    std::string firstLine;
  };
  const Case cases[] = {
      {".", tree.Root(), "./a.c:1: あ"},
      {"./", tree.Root(), "./a.c:1: あ"},
      {name, parent, name + "/a.c:1: あ"},
      {name + "/", parent, name + "/a.c:1: あ"},
      {tree.Root(), "/", tree.Root() + "/a.c:1: あ"},
  };
  for (const Case& c : cases) {
    const Outcome outcome = RunScan({c.root}, c.folder);
    EXPECT_EQ(outcome.out.substr(0, outcome.out.find('\n')), c.firstLine) << c.root;
  }
}

TEST_F(QuillmarkScan, AddsTheColumnInCharactersOfTheFilesEncoding) {
  tree.WriteFile("c.c", "/* \x95\x5C */ s = \"\x82\xA0\";\n");  // 表 before the quote counts one
  tree.WriteFile("u.c", "/* 表 */ s = \"〜\";\n");
  const Outcome outcome = RunScan({"--column", "--ext", "c", "."}, tree.Root());
  EXPECT_EQ(outcome.out, "./a.c:1:5: あ\n./c.c:1:13: あ\n");
  EXPECT_NE(RunScan({"--column", "--encoding", "UTF8", "."}, tree.Root()).out.find("./u.c:1:13: 〜\n"),
            std::string::npos);
}

// What the scan could not do goes to standard error in every form but the
// log, which traces it; the exit status stays as it was.
TEST_F(QuillmarkScan, ReportsDiagnosticsOnStandardError) {
  tree.WriteFile("b.c", "x = 1;\ns = \"open\n\"\x82\xA0\";\n");
  const std::string notClosed =
      "./b.c:2: warning: literal not closed on its line; the rest of the file is not scanned "
      "(--lexer c reads continued and raw literals)\n";
  const Outcome warned = RunScan({"."}, tree.Root());
  EXPECT_EQ(warned.status, 1);
  EXPECT_EQ(warned.err, notClosed);
  EXPECT_EQ(RunScan({"-q", "."}, tree.Root()).err, "");
  EXPECT_EQ(RunScan({"--log", "."}, tree.Root()).err, "");

  tree.MakeLink("z.c", tree.PathOf("nowhere"));
  const Outcome failed = RunScan({"--format", "json", "."}, tree.Root());
  EXPECT_EQ(failed.status, 2);
  EXPECT_EQ(failed.err, notClosed + "quillmark-scan: ./z.c: cannot open: No such file or directory\n");
  EXPECT_NE(failed.out.find("{\"type\":\"diagnostic\",\"kind\":\"cannot_open\""), std::string::npos);
  EXPECT_NE(failed.out.find("\"completed\":false"), std::string::npos);
}

// A file whose read fails (a bad disk; here the process's own memory,
// unreadable at offset 0) is no empty file: the walk ends there, failed.
TEST_F(QuillmarkScan, AFileThatCannotBeReadEndsTheScanAsFailed) {
  tree.WriteFile("a.c", "\"\x82\xA0\"\n");
  tree.MakeLink("m.c", "/proc/self/mem");
  tree.WriteFile("z.c", "\"\x82\xA0\"\n");
  const Outcome grep = RunScan({"."}, tree.Root());
  EXPECT_EQ(grep.status, 2);
  EXPECT_EQ(grep.out, "./a.c:1: \xE3\x81\x82\n");
  EXPECT_EQ(grep.err, "quillmark-scan: ./m.c: cannot read: Input/output error\n");
  const Outcome log = RunScan({"--log", "."}, tree.Root());
  EXPECT_EQ(log.status, 2);
  EXPECT_TRUE(log.out.ends_with("-- analyze:" + tree.PathOf("m.c") + "\nError: failed to read the file. (Input/output error)\n"));
  EXPECT_EQ(log.err, "");
  const Outcome json = RunScan({"--format", "json", "."}, tree.Root());
  EXPECT_NE(json.out.find("{\"type\":\"diagnostic\",\"kind\":\"cannot_read\",\"path\":\"./m.c\""), std::string::npos);
}

TEST_F(QuillmarkScan, EndsWithAStatisticsSummaryWhenAsked) {
  tree.WriteFile("e.h", "\"\xA4\xA2\"\n");
  const Outcome outcome = RunScan({"--stats", "--encoding", "AUTO", "-q", "."}, tree.Root());
  EXPECT_EQ(outcome.status, 1);
  EXPECT_NE(outcome.err.find("3 findings\n3 files scanned, 2 SJIS-JP, 1 EUC-JP\n"), std::string::npos) << outcome.err;
  EXPECT_NE(outcome.err.find("\n2 folders\n"), std::string::npos) << outcome.err;
}

// vim's quickfix list, fed the --column form, puts the cursor on each
// literal's opening quote. (vim counts columns in bytes of the line as it
// holds it, so the lines here hold only ASCII before their literal.)
TEST_F(QuillmarkScan, VimsQuickfixLandsOnEachLiteral) {
  if (std::system("vim --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "vim is not installed";
  tree.WriteFile("q/k.c", "int x;\n  f(1, \"\x82\xA0\");\ng(\"abc\", \"\x82\xA2\");\n");
  const Outcome scan = RunScan({"--column", "q"}, tree.Root());
  ASSERT_EQ(scan.out, "q/k.c:2:8: あ\nq/k.c:3:10: い\n");
  tree.WriteFile("errors.txt", scan.out);
  const char* const landings[] = {"q/k.c:2:\"", "q/k.c:3:\""};
  for (const char* entry : {"1", "2"}) {
    const std::string where = tree.PathOf(std::string("where") + entry);
    const std::string command = "cd " + Quote(tree.Root()) +
                                " && vim -es -u NONE -i NONE -c 'set errorformat=%f:%l:%c:\\ %m' -c 'cfile errors.txt'"
                                " -c 'cc " + entry + "' -c 'call writefile([expand(\"%\") . \":\" . line(\".\") . \":\" ."
                                " getline(\".\")[col(\".\") - 1]], \"" + where + "\")' -c 'qa!' </dev/null >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_EQ(testing::ReadWholeFile(where), std::string(landings[entry[0] - '1']) + "\n") << "entry " << entry;
  }
}

TEST_F(QuillmarkScan, ExitsWithZeroWithoutFindings) {
  const Outcome outcome = RunScan({"--ext", "txt", tree.Root()});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.out, "");
}

// A ROOT that names nothing is an error in every form, -q or not; the log
// still traces it as the walk does.
TEST_F(QuillmarkScan, ExitsWithTwoForARootThatCannotBeListed) {
  const std::string missing = tree.PathOf("missing");
  const std::string message = "quillmark-scan: " + missing + ": No such file or directory\n";
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{missing}, {"-q", missing}, {"--format", "json", missing}}) {
    const Outcome outcome = RunScan(arguments);
    EXPECT_EQ(outcome.status, 2) << arguments.front();
    EXPECT_EQ(outcome.err, message) << arguments.front();
  }
  const Outcome log = RunScan({"--log", "missing"}, tree.Root());
  EXPECT_EQ(log.status, 2);
  EXPECT_EQ(log.out, "=== directory:missing\n");
  EXPECT_EQ(log.err, "quillmark-scan: missing: No such file or directory\n");
}

TEST_F(QuillmarkScan, KeepsASubfolderThatCannotBeListedAWarning) {
  // Root lists every folder unless it gives up the capabilities for it.
  std::string prefix;
  if (geteuid() == 0) {
    if (std::system("setpriv --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "root without setpriv";
    prefix = "setpriv --bounding-set=-dac_override,-dac_read_search ";
  }
  tree.WriteFile("locked/k.c", "\"\x82\xA0\"\n");
  ASSERT_EQ(::chmod(tree.PathOf("locked").c_str(), 0), 0);
  const Outcome locked = RunScan({"."}, tree.Root(), prefix);
  ::chmod(tree.PathOf("locked").c_str(), 0755);
  EXPECT_EQ(locked.status, 1);
  EXPECT_EQ(locked.err, "quillmark-scan: ./locked: cannot list the folder: Permission denied\n");
}

TEST_F(QuillmarkScan, ExitsWithTwoWhenAFileCannotBeOpened) {
  tree.MakeLink("x.c", tree.PathOf("nowhere"));
  const Outcome outcome = RunScan({"--log", tree.Root()});
  EXPECT_EQ(outcome.status, 2);
  EXPECT_TRUE(outcome.out.ends_with("-- analyze:" + tree.PathOf("x.c") + "\nError: failed to open the file.\n"));
}

TEST_F(QuillmarkScan, RefusesBadArgumentsWithAMessage) {
  const Outcome empty = RunScan({" \t "});
  EXPECT_EQ(empty.status, 2);
  EXPECT_TRUE(empty.err.starts_with("quillmark-scan: 検索対象パスを入力してください\nusage: quillmark-scan "))
      << empty.err;

  for (const char* option : {"--encoding", "-e"}) {
    const Outcome encoding = RunScan({option, "sjis", tree.Root()});
    EXPECT_EQ(encoding.status, 2);
    EXPECT_EQ(encoding.err, "quillmark-scan: エラー：エンコーディング<sjis>はサポートされていません。"
                            " (SJIS, EUC, UTF8 or AUTO)\n");
    EXPECT_EQ(encoding.out, "");
  }

  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{}, {"--nope", "."}, {"--color", "pink", "."}, {".", " "}}) {
    const Outcome outcome = RunScan(bad);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find("usage: quillmark-scan"), std::string::npos);
  }
}

// The lexer reaches the search and the report; a line search's report is
// the default's, byte for byte.
TEST_F(QuillmarkScan, ReadsWithTheLexerAsked) {
  const Outcome byDefault = RunScan({"--format", "csv", tree.Root()});
  EXPECT_EQ(RunScan({"--lexer", "line", "--format", "csv", tree.Root()}).out, byDefault.out);
  const Outcome c = RunScan({"--lexer=c", "--format", "csv", tree.Root()});
  EXPECT_EQ(c.status, 1);
  EXPECT_TRUE(c.out.starts_with("\xEF\xBB\xBFpath,line,column,text,encoding,prefix,raw\r\n")) << c.out;
  const Outcome bad = RunScan({"--lexer", "pascal", tree.Root()});
  EXPECT_EQ(bad.status, 2);
  EXPECT_TRUE(bad.err.starts_with("quillmark-scan: unknown lexer pascal (line or c)\nusage: ")) << bad.err;
}

TEST_F(QuillmarkScan, ExplainsEveryOption) {
  const Outcome outcome = RunScan({"--help"});
  EXPECT_EQ(outcome.status, 0);
  for (const char* option : {"--encoding", "-e,", "--ext", "--exclude", "**", "--color", "NO_COLOR", "--log",
                             "--raw", "-V, --version", "ROOT...", "Exit status"})
    EXPECT_NE(outcome.out.find(option), std::string::npos) << option;
}

TEST_F(QuillmarkScan, PrintsItsVersion) {
  for (const char* option : {"-V", "--version"}) {
    const Outcome outcome = RunScan({option});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "quillmark-scan " QUILLMARK_VERSION "\n");
    EXPECT_EQ(outcome.err, "");
  }
  EXPECT_EQ(std::string(QUILLMARK_VERSION), "0.5.0");
}

// Each ROOT is walked in turn with paths of its own; a file ROOT is
// scanned alone and shown as typed.
TEST_F(QuillmarkScan, WalksSeveralRootsAndFiles) {
  tree.WriteFile("other/c.c", "\"\x82\xA4\"\n");
  tree.WriteFile("other/notes.txt", "\"\x82\xA6\"\n");
  const Outcome grep = RunScan({"sub", "other", "./a.c", "other/notes.txt"}, tree.Root());
  EXPECT_EQ(grep.status, 1);
  EXPECT_EQ(grep.out, "sub/b.h:2: ｱ\nother/c.c:1: う\n./a.c:1: あ\nother/notes.txt:1: え\n");
  EXPECT_EQ(grep.err, "");

  const Outcome raw = RunScan({"--raw", "other/c.c", "sub"}, tree.Root());
  EXPECT_EQ(raw.out, "\x82\xA4" + std::string(18, ' ') + "\t1\tc.c\n" + "\xB1" + std::string(19, ' ') + "\t2\tb.h\n");

  const Outcome log = RunScan({"--log", "other/c.c"}, tree.Root());
  EXPECT_EQ(log.out, "-- analyze:" + tree.PathOf("other/c.c") + "\nchecking string:\x82\xA4\n>> c.c : 1\n");

  // One document for all roots, its paths from the current folder.
  const Outcome json = RunScan({"--format", "json", "sub", "other"}, tree.Root());
  EXPECT_EQ(json.status, 1);
  EXPECT_NE(json.out.find("\"./sub/b.h\""), std::string::npos) << json.out;
  EXPECT_NE(json.out.find("\"./other/c.c\""), std::string::npos) << json.out;
  EXPECT_EQ(Occurrences(json.out, "\"completed\""), 1u) << json.out;
  const Outcome sarif = RunScan({"--format", "sarif", "sub", "a.c"}, tree.Root());
  EXPECT_EQ(Occurrences(sarif.out, "\"$schema\""), 1u) << sarif.out;
  EXPECT_NE(sarif.out.find("\"uri\":\"sub/b.h\""), std::string::npos) << sarif.out;
  EXPECT_NE(sarif.out.find("\"uri\":\"a.c\""), std::string::npos) << sarif.out;

  // Findings count together; a missing root makes it 2 but the rest is walked.
  struct Case {
    std::vector<std::string> roots;
    int status;
  };
  const Case cases[] = {
      {{"a.c", "other/c.c"}, 1}, {{"missing", "sub"}, 2}, {{"sub", "missing"}, 2}, {{"--ext", "txt", "sub", "a.c"}, 1},
      {{"--ext", "txt", "sub"}, 0},
  };
  for (const Case& c : cases) {
    const Outcome outcome = RunScan(c.roots, tree.Root());
    EXPECT_EQ(outcome.status, c.status) << c.roots.front() << " " << c.roots.back();
  }
  EXPECT_EQ(RunScan({"missing", "sub"}, tree.Root()).out, "sub/b.h:2: ｱ\n");

  // A walk that ends early ends the run there.
  tree.MakeFolder("bad");
  tree.MakeLink("bad/z.c", tree.PathOf("nowhere"));
  const Outcome broken = RunScan({"sub", "bad", "other"}, tree.Root());
  EXPECT_EQ(broken.status, 2);
  EXPECT_EQ(broken.out, "sub/b.h:2: ｱ\n");
  EXPECT_EQ(broken.err, "quillmark-scan: bad/z.c: cannot open: No such file or directory\n");
  // A link to nothing as a ROOT is a missing ROOT; the others are walked.
  const Outcome dangling = RunScan({"bad/z.c", "sub"}, tree.Root());
  EXPECT_EQ(dangling.status, 2);
  EXPECT_EQ(dangling.out, "sub/b.h:2: ｱ\n");
  EXPECT_EQ(dangling.err, "quillmark-scan: bad/z.c: No such file or directory\n");
}

TEST_F(QuillmarkScan, ExcludesFoldersAndFilesByGlob) {
  tree.WriteFile("build/gen.c", "\"\x82\xA4\"\n");
  tree.WriteFile("sub/deep/build/x.c", "\"\x82\xA4\"\n");
  tree.WriteFile("sub/deep/keep.c", "\"\x82\xA6\"\n");
  struct Case {
    std::vector<std::string> exclusions;
    std::string out;
  };
  const std::string all = "./a.c:1: あ\n./build/gen.c:1: う\n./sub/b.h:2: ｱ\n./sub/deep/build/x.c:1: う\n"
                          "./sub/deep/keep.c:1: え\n";
  const Case cases[] = {
      {{}, all},
      {{"build"}, "./a.c:1: あ\n./sub/b.h:2: ｱ\n./sub/deep/keep.c:1: え\n"},  // a name at any depth
      {{"sub/deep"}, "./a.c:1: あ\n./build/gen.c:1: う\n./sub/b.h:2: ｱ\n"},   // a relative path
      {{"*.h", "a.?"}, "./build/gen.c:1: う\n./sub/deep/build/x.c:1: う\n./sub/deep/keep.c:1: え\n"},
      {{"sub/*.c"}, all},  // "*" stops at "/": sub/deep/keep.c is not sub/*.c
      {{"sub/**.c"}, "./a.c:1: あ\n./build/gen.c:1: う\n./sub/b.h:2: ｱ\n"},
      {{"**/build"}, "./a.c:1: あ\n./build/gen.c:1: う\n./sub/b.h:2: ｱ\n./sub/deep/keep.c:1: え\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments;
    for (const auto& pattern : c.exclusions) arguments.insert(arguments.end(), {"--exclude", pattern});
    arguments.push_back(".");
    const Outcome outcome = RunScan(arguments, tree.Root());
    EXPECT_EQ(outcome.out, c.out) << (c.exclusions.empty() ? "" : c.exclusions.front());
  }
  // An excluded folder is not even traced.
  EXPECT_EQ(RunScan({"--log", "--exclude=build", "."}, tree.Root()).out.find("build"), std::string::npos);
}

TEST_F(QuillmarkScan, ColoursTheGrepFormWhenAsked) {
  const std::string coloured = "\x1b[35m./a.c\x1b[0m:\x1b[32m1\x1b[0m: あ\n";
  EXPECT_TRUE(RunScan({"--color", "always", "."}, tree.Root()).out.starts_with(coloured));
  EXPECT_TRUE(RunScan({"--color=always", "--column", "."}, tree.Root())
                  .out.starts_with("\x1b[35m./a.c\x1b[0m:\x1b[32m1\x1b[0m:\x1b[32m5\x1b[0m: あ\n"));
  // Not a terminal: auto means none.
  EXPECT_EQ(RunScan({"--color", "auto", "."}, tree.Root()).out, "./a.c:1: あ\n./sub/b.h:2: ｱ\n");
  EXPECT_EQ(RunScan({"--color", "never", "."}, tree.Root()).out, "./a.c:1: あ\n./sub/b.h:2: ｱ\n");
}

// On a terminal: colours unless NO_COLOR says otherwise, and each line as
// soon as it is made.
TEST_F(QuillmarkScan, ColoursATerminalUnlessNoColorIsSet) {
  if (std::system("script --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "script is not installed";
  struct Case {
    std::string environment;
    bool coloured;
  };
  const Case cases[] = {{"", true}, {"NO_COLOR=1", false}, {"NO_COLOR=", true}};
  for (const Case& c : cases) {
    const std::string typescript = tree.PathOf("typescript");
    const std::string command = "cd " + Quote(tree.Root()) + " && env -u NO_COLOR " + c.environment +
                                " script -qec " + Quote(Quote(QUILLMARK_SCAN_PATH) + " a.c") + " " +
                                Quote(typescript) + " </dev/null >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()) >> 8, 1) << command;
    const std::string seen = testing::ReadWholeFile(typescript);
    EXPECT_EQ(seen.find("\x1b[35ma.c\x1b[0m:") != std::string::npos, c.coloured) << c.environment << seen;
    EXPECT_NE(seen.find("1"), std::string::npos) << seen;
  }
}

}  // namespace
}  // namespace quillmark::cli
