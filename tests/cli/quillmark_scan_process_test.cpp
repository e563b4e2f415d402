// quillmark-scan run as a process: its outputs and exit statuses.

#include <sys/wait.h>

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

Outcome RunScan(const std::vector<std::string>& arguments, const std::string& folder = ".") {
  TempTree capture;
  std::string command = "cd " + Quote(folder) + " && " + Quote(QUILLMARK_SCAN_PATH);
  for (const auto& argument : arguments) command += " " + Quote(argument);
  command += " >" + Quote(capture.PathOf("out")) + " 2>" + Quote(capture.PathOf("err")) + " </dev/null";
  const int raw = std::system(command.c_str());
  Outcome outcome;
  outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  outcome.out = testing::ReadWholeFile(capture.PathOf("out"));
  outcome.err = testing::ReadWholeFile(capture.PathOf("err"));
  return outcome;
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
      "./b.c:2: warning: literal not closed on its line; the rest of the file is not scanned\n";
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
  const Outcome missing = RunScan({tree.PathOf("missing")});
  EXPECT_EQ(missing.status, 0);
  EXPECT_EQ(missing.err, "quillmark-scan: " + tree.PathOf("missing") + ": cannot list the folder: No such file or directory\n");
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
  EXPECT_EQ(empty.err, "検索対象パスを入力してください\n");

  const Outcome encoding = RunScan({"--encoding", "sjis", tree.Root()});
  EXPECT_EQ(encoding.status, 2);
  EXPECT_EQ(encoding.err, "エラー：エンコーディング<sjis>はサポートされていません。\n");
  EXPECT_EQ(encoding.out, "");

  for (const std::vector<std::string>& bad : {std::vector<std::string>{}, {"--nope", "."}, {"a", "b"}}) {
    const Outcome outcome = RunScan(bad);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find("usage: quillmark-scan"), std::string::npos);
  }
}

TEST_F(QuillmarkScan, ExplainsEveryOption) {
  const Outcome outcome = RunScan({"--help"});
  EXPECT_EQ(outcome.status, 0);
  for (const char* option : {"--encoding", "--ext", "--log", "--raw", "ROOT", "Exit status"})
    EXPECT_NE(outcome.out.find(option), std::string::npos) << option;
}

}  // namespace
}  // namespace quillmark::cli
