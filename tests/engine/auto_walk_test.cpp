// Searches that choose each file's encoding by its bytes: the trace says
// which, and every file is scanned and reported as a search in that
// encoding would.
#include <iconv.h>

#include <gtest/gtest.h>

#include <random>

#include "engine/source_finder.h"
#include "tests/support/memory_sink.h"
#include "tests/support/shown_finding.h"
#include "tests/support/temp_tree.h"

namespace quillmark::engine {
namespace {

using testing::MemorySink;
using testing::TempTree;
using Lines = std::vector<std::string>;

// Walks `root` by `rules`, or detecting each file's encoding when null.
bool WalkTree(MemorySink& sink, const std::string& root, const EncodingRules* rules, WalkFailure* failure = nullptr) {
  SearchOptions options = testing::OptionsFor(root, rules);
  options.extensions = {"c"};
  return testing::WalkInto(sink, std::move(options), failure);
}

std::string Padded(std::string text) {
  if (text.size() < 20) text.resize(20, ' ');
  return text;
}

TEST(AutoWalk, TracesEachFilesEncodingAndScansItByThatEncoding) {
  TempTree tree;
  tree.WriteFile("a.c", "int x;\n");
  tree.WriteFile("b.c", "\xEF\xBB\xBF" "s = \"〜\";\n");
  tree.WriteFile("c.c", "s = \"\xA4\xA2\";\n");                // あ in EUC-JP
  tree.WriteFile("d.c", "s = \"\x95\x5C\x8E\xA6\";\n");        // 表示 in Shift_JIS
  tree.WriteFile("e.c", "s = \"x\";\n\x1A\x82\xA0\xA4\xA2\n");  // 0x1A ends the bytes
  const std::string& r = tree.Root();

  MemorySink sink;
  EXPECT_TRUE(WalkTree(sink, r, nullptr));
  EXPECT_EQ(sink.traceLines, (Lines{
                                 "=== directory:" + r,
                                 "-- analyze:" + r + "/a.c",
                                 "-- encoding:ASCII",
                                 "-- analyze:" + r + "/b.c",
                                 "-- encoding:UTF-8",
                                 "checking string:〜",
                                 ">> b.c : 1",
                                 "-- analyze:" + r + "/c.c",
                                 "-- encoding:EUC-JP",
                                 "checking string:\xA4\xA2",
                                 ">> c.c : 1",
                                 "-- analyze:" + r + "/d.c",
                                 "-- encoding:SJIS-JP",
                                 "checking string:\x95\x5C\x8E\xA6",
                                 ">> d.c : 1",
                                 "-- analyze:" + r + "/e.c",
                                 "-- encoding:ASCII",
                                 "checking string:x",
                             }));
  EXPECT_EQ(testing::Shown(sink.findings), (std::vector<testing::ShownFinding>{
                                               {Padded("〜"), "1", "b.c"},
                                               {Padded("\x82\xA0"), "1", "c.c"},
                                               {Padded("\x95\x5C\x8E\xA6"), "1", "d.c"},
                                           }));
  ASSERT_EQ(sink.findings.size(), 3u);
  EXPECT_EQ(sink.findings[0].encoding, SourceEncoding::Utf8);
  EXPECT_EQ(sink.findings[1].encoding, SourceEncoding::EucJp);
  EXPECT_EQ(sink.findings[2].encoding, SourceEncoding::ShiftJis);
}

TEST(AutoWalk, AFileThatCannotBeOpenedHasNoEncodingLine) {
  TempTree tree;
  tree.MakeLink("gone.c", tree.PathOf("missing"));
  tree.WriteFile("later.c", "\"\xA4\xA2\"\n");
  MemorySink sink;
  WalkFailure failure;
  EXPECT_FALSE(WalkTree(sink, tree.Root(), nullptr, &failure));
  EXPECT_EQ(sink.traceLines, (Lines{"=== directory:" + tree.Root(), "-- analyze:" + tree.PathOf("gone.c"),
                                    "Error: failed to open the file."}));
  EXPECT_EQ(failure.kind, WalkFailure::Kind::CannotOpenFile);
}

// UTF-8 text to CP932, as a Japanese Windows system would have saved it.
std::string ToCp932(const std::string& utf8) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  std::string out(utf8.size() * 2, '\0');
  char* in = const_cast<char*>(utf8.data());
  char* write = out.data();
  std::size_t inLeft = utf8.size(), outLeft = out.size();
  const std::size_t rc = iconv(cd, &in, &inLeft, &write, &outLeft);
  iconv_close(cd);
  EXPECT_NE(rc, static_cast<std::size_t>(-1)) << utf8;
  out.resize(out.size() - outLeft);
  return out;
}

std::string TrimmedText(const Finding& finding) {
  const std::string text = report::RecordedText(finding);
  return text.substr(0, text.find_last_not_of(' ') + 1);
}

// The same sources saved in UTF-8 and in Shift_JIS give the same findings:
// AUTO on the first, SJIS on the second.
TEST(AutoWalk, AUtf8TreeFindsWhatItsShiftJisCopyFinds) {
  // Mostly whole literals, with stray quotes and comment marks now and then.
  const std::vector<std::string> code = {"x = ", ";", " ", "\n", "/*", "*/", "//", "'", "\"", "\r\n", "\n"};
  const std::vector<std::string> content = {"abc", " ", "\\n", "\\\"", "/*", "あ", "表", "ソ", "字", "〜",
                                            "×", "ｱ", "①", "Ω", "　", "、", "'"};
  std::mt19937 random(20261207);
  const auto pick = [&](const std::vector<std::string>& from) { return from[random() % from.size()]; };
  TempTree utf8, sjis;
  for (int file = 0; file < 40; ++file) {
    std::string text;
    for (int i = 0, count = 20 + static_cast<int>(random() % 300); i < count; ++i) {
      if (random() % 3 != 0) {
        text += pick(code);
        continue;
      }
      const char quote = random() % 4 ? '"' : '\'';
      text += quote;
      for (int k = static_cast<int>(random() % 5); k > 0; --k) text += pick(content);
      text += quote;
    }
    const std::string name = "s" + std::to_string(file % 4) + "/f" + std::to_string(file) + ".c";
    utf8.WriteFile(name, text);
    sjis.WriteFile(name, ToCp932(text));
  }

  MemorySink fromUtf8, fromSjis;
  EXPECT_TRUE(WalkTree(fromUtf8, utf8.Root(), nullptr));
  EXPECT_TRUE(WalkTree(fromSjis, sjis.Root(), &ShiftJisRules()));
  ASSERT_EQ(fromUtf8.findings.size(), fromSjis.findings.size());
  EXPECT_GT(fromUtf8.findings.size(), 80u);
  for (std::size_t i = 0; i < fromUtf8.findings.size(); ++i) {
    const Finding& u = fromUtf8.findings[i];
    const Finding& s = fromSjis.findings[i];
    ASSERT_EQ(std::tie(u.path, u.line, u.column), std::tie(s.path, s.line, s.column)) << "finding " << i;
    ASSERT_EQ(ToCp932(TrimmedText(u)), TrimmedText(s)) << "finding " << i;
  }
}

}  // namespace
}  // namespace quillmark::engine
