#include "platform/private_profile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include "tests/support/temp_tree.h"

namespace quillmark::platform {
namespace {

namespace fs = std::filesystem;
using testing::ReadWholeFile;
using testing::TempTree;

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::set<std::string> NamesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

TEST(PrivateProfileReadTest, FindsTheValueOrGivesTheDefault) {
  struct Case {
    const char* what;
    std::string file;
    std::string expected;
    std::string section = "Quillmark";
    std::string key = "Key";
  };
  const Case cases[] = {
      {"missing section", "[Other]\nKey=v\n", "DEF"},
      {"missing key", "[Quillmark]\nOther=v\n", "DEF"},
      {"key above any section", "Key=v\n[Quillmark]\n", "DEF"},
      {"key in the next section", "[Quillmark]\n[Other]\nKey=v\n", "DEF"},
      {"commented-out key", "[Quillmark]\n ;Key=v\n", "DEF"},
      {"line without equals sign", "[Quillmark]\nKey\n", "DEF"},
      {"only the first of two sections", "[Quillmark]\nA=1\n[quillmark]\nKey=2\n", "DEF"},
      {"names in another case", "[qUILLMARK]\nkEY=v\n", "v"},
      {"blanks around names", "  [ Quillmark ] ; main\n\t Key \t=v\n", "v"},
      {"blanks around given names", "[Quillmark]\nKey=v\n", "v", " Quillmark\t", " Key "},
      {"blanks around the value", "[Quillmark]\nKey= \t a b \t\n", "a b"},
      {"enclosing quotes", "[Quillmark]\nKey= \" a \" \n", " a "},
      {"one pair of quotes only", "[Quillmark]\nKey=\"\"a\"\"\n", "\"a\""},
      {"a lone quote", "[Quillmark]\nKey=\"\n", "\""},
      {"a quote at one end", "[Quillmark]\nKey=\"a\n", "\"a"},
      {"single quotes stay", "[Quillmark]\nKey='a'\n", "'a'"},
      {"empty value", "[Quillmark]\nKey=\n", ""},
      {"equals sign in the value", "[Quillmark]\nKey=a=b\n", "a=b"},
      {"first of two keys", "[Quillmark]\nKey=1\nKey=2\n", "1"},
      {"CR LF line ends", "[Quillmark]\r\nKey=v\r\n", "v"},
      {"last line without line end", "[Quillmark]\nKey=v", "v"},
      {"last line ending in a lone CR", "[Quillmark]\nKey=v\r", "v"},
      {"byte-order mark", std::string(kBom) + "[Quillmark]\nKey=v\n", "v"},
      {"Shift_JIS bytes", "[Quillmark]\nKey=C:\\\x95\x5C\\\n", "C:\\\x95\x5C\\"},
  };
  TempTree tree;
  const std::string path = tree.PathOf("quillmark.ini");
  for (const Case& c : cases) {
    tree.WriteFile("quillmark.ini", c.file);
    EXPECT_EQ(GetPrivateProfileString(path, c.section, c.key, "DEF"), c.expected) << c.what;
    EXPECT_EQ(PrivateProfileReader(path).GetString(c.section, c.key, "DEF"), c.expected) << c.what;
  }
}

TEST(PrivateProfileReadTest, AReaderAnswersFromTheFileAsItWasRead) {
  TempTree tree;
  const std::string path = tree.PathOf("quillmark.ini");
  tree.WriteFile("quillmark.ini", "[Other]\nA=other\n[Quillmark]\nA=1\nB = \"2\"\n[quillmark]\nC=3\n");
  const PrivateProfileReader reader(path);
  tree.WriteFile("quillmark.ini", "[Quillmark]\nA=changed\n");

  const std::pair<std::string, std::string> expected[] = {{"A", "1"}, {"B", "2"}, {"C", "DEF"}, {"a", "1"}, {"D", "DEF"}};
  for (int round = 0; round < 2; ++round) {
    for (const auto& [key, value] : expected) EXPECT_EQ(reader.GetString("Quillmark", key, "DEF"), value) << key;
  }
  EXPECT_EQ(reader.GetString("Other", "A", "DEF"), "other");
  EXPECT_EQ(reader.GetString("Missing", "A", "DEF"), "DEF");
}

TEST(PrivateProfileReadTest, GivesTheDefaultWithoutARegularFile) {
  TempTree tree;
  tree.MakeFolder("folder.ini");
  EXPECT_EQ(GetPrivateProfileString(tree.PathOf("missing.ini"), "Quillmark", "Key", "DEF"), "DEF");
  EXPECT_EQ(GetPrivateProfileString(tree.PathOf("folder.ini"), "Quillmark", "Key", "DEF"), "DEF");
  EXPECT_EQ(PrivateProfileReader(tree.PathOf("missing.ini")).GetString("Quillmark", "Key", "DEF"), "DEF");
  EXPECT_EQ(PrivateProfileReader(tree.PathOf("folder.ini")).GetString("Quillmark", "Key", "DEF"), "DEF");
}

TEST(PrivateProfileReadTest, CutsLongValuesToTheBufferSize) {
  TempTree tree;
  const std::string path = tree.PathOf("quillmark.ini");
  const std::string fits(kMaxProfileValueBytes, 'a');
  for (const std::string& stored : {fits, fits + "b", std::string(10000, 'a'), "\"" + fits + "\""}) {
    tree.WriteFile("quillmark.ini", "[Quillmark]\nKey=" + stored + "\nNext=1\n");
    EXPECT_EQ(GetPrivateProfileString(path, "Quillmark", "Key", ""), fits) << stored.size();
    EXPECT_EQ(GetPrivateProfileString(path, "Quillmark", "Next", ""), "1");
    EXPECT_EQ(PrivateProfileReader(path).GetString("Quillmark", "Key", ""), fits) << stored.size();
  }
}

TEST(PrivateProfileWriteTest, ChangesOnlyTheKeyLine) {
  struct Case {
    const char* what;
    std::optional<std::string> before;  // no file when empty
    std::string after;
    std::string value = "v";
    std::string section = "Quillmark";
    std::string key = "Key";
  };
  const Case cases[] = {
      {"new file", std::nullopt, "[Quillmark]\nKey=v\n"},
      {"empty file", "", "[Quillmark]\nKey=v\n"},
      {"replaced in place, every other byte kept",
       "; settings\n[Other]\nKey=x\n\n[Quillmark] ; main\r\nA = 1\n  key =  old value  \n; end\nB=2",
       "; settings\n[Other]\nKey=x\n\n[Quillmark] ; main\r\nA = 1\n  key =v\n; end\nB=2"},
      {"added after the section's last key", "[Quillmark]\nA=1\n\n; note\n[Other]\nB=2\n",
       "[Quillmark]\nA=1\nKey=v\n\n; note\n[Other]\nB=2\n"},
      {"added to a section without keys", "[Quillmark]\n; none yet\n[Other]\n",
       "[Quillmark]\nKey=v\n; none yet\n[Other]\n"},
      {"added after a last line without line end", "[Quillmark]\nA=1", "[Quillmark]\nA=1\nKey=v\n"},
      {"section added at the end", "[Other]\nA=1\n", "[Other]\nA=1\n[Quillmark]\nKey=v\n"},
      {"section added after a last line without line end", "; c", "; c\n[Quillmark]\nKey=v\n"},
      {"key above any section left alone", "Key=x\n", "Key=x\n[Quillmark]\nKey=v\n"},
      {"first key of the first section", "[Quillmark]\nKey=1\nKey=2\n[Quillmark]\nKey=3\n",
       "[Quillmark]\nKey=v\nKey=2\n[Quillmark]\nKey=3\n"},
      {"names in another case", "[QUILLMARK]\nKEY=old\n", "[QUILLMARK]\nKEY=v\n", "v", "quillmark", "key"},
      {"blanks around given names", "[Quillmark]\nKey=old\n", "[Quillmark]\nKey=v\n", "v", " Quillmark ", "\tKey "},
      {"CR LF kept when replacing", "[Quillmark]\r\nKey=old\r\n", "[Quillmark]\r\nKey=v\r\n"},
      {"CR LF for an added key", "[Quillmark]\r\nA=1\r\n", "[Quillmark]\r\nA=1\r\nKey=v\r\n"},
      {"CR LF for an added section", "[Other]\r\nA=1", "[Other]\r\nA=1\r\n[Quillmark]\r\nKey=v\r\n"},
      {"LF completes a last CR before an added key", "[Quillmark]\nA=1\r", "[Quillmark]\nA=1\r\nKey=v\n"},
      {"LF completes a last CR before an added section", "[Other]\nA=1\r", "[Other]\nA=1\r\n[Quillmark]\nKey=v\n"},
      {"last CR kept when replacing", "[Quillmark]\nKey=old\r", "[Quillmark]\nKey=v\r"},
      {"byte-order mark kept", std::string(kBom) + "[Quillmark]\nKey=old\n", std::string(kBom) + "[Quillmark]\nKey=v\n"},
      {"file of a byte-order mark only", std::string(kBom), std::string(kBom) + "[Quillmark]\nKey=v\n"},
      {"value stored as its bytes", "[Quillmark]\nKey=old\n", "[Quillmark]\nKey= \"q\" ;x\n", " \"q\" ;x"},
      {"value cut at a line break", "[Quillmark]\nKey=old\n", "[Quillmark]\nKey=new\n", "new\nInjected=1"},
      {"value cut at a CR", "[Quillmark]\r\nKey=old\r\n", "[Quillmark]\r\nKey=new\r\n", "new\r\n[Other]"},
      {"empty value", "[Quillmark]\nKey=old\n", "[Quillmark]\nKey=\n", ""},
  };
  for (const Case& c : cases) {
    TempTree tree;
    const std::string path = tree.PathOf("quillmark.ini");
    if (c.before) tree.WriteFile("quillmark.ini", *c.before);
    EXPECT_TRUE(WritePrivateProfileString(path, c.section, c.key, c.value)) << c.what;
    EXPECT_EQ(ReadWholeFile(path), c.after) << c.what;
    EXPECT_EQ(NamesIn(tree.Root()), std::set<std::string>{"quillmark.ini"}) << c.what;
  }
}

TEST(PrivateProfileWriteTest, ReadsBackWhatItWrote) {
  const std::pair<std::string, std::string> settings[] = {
      {"EditorPath", "xdg-open"}, {"EditorParam", "-n%L \"%F\""},      {"EditorType", "custom"},
      {"FileExt", "c;cpp;h;hpp"}, {"FinderRootPath", "/home/ユーザー/src"}, {"Encoding", "EUC"},
  };
  TempTree tree;
  const std::string path = tree.PathOf("quillmark.ini");
  for (int round = 0; round < 2; ++round) {
    for (const auto& [key, value] : settings) ASSERT_TRUE(WritePrivateProfileString(path, "Quillmark", key, value));
  }
  for (const auto& [key, value] : settings) EXPECT_EQ(GetPrivateProfileString(path, "Quillmark", key, "?"), value);
  // The second round replaced every key in place.
  EXPECT_EQ(ReadWholeFile(path),
            "[Quillmark]\nEditorPath=xdg-open\nEditorParam=-n%L \"%F\"\nEditorType=custom\nFileExt=c;cpp;h;hpp\n"
            "FinderRootPath=/home/ユーザー/src\nEncoding=EUC\n");
}

TEST(PrivateProfileWriteTest, RefusesNamesTheFormatCannotHold) {
  const std::pair<std::string, std::string> names[] = {
      {"Quillmark", ""},   {"Quillmark", "  "},   {"Quillmark", "A=B"},  {"Quillmark", "A\nB"},
      {"Quillmark", ";A"}, {"Quillmark", "[A]"}, {"Quill]mark", "Key"}, {"Quill\r\nmark", "Key"},
  };
  TempTree tree;
  const std::string path = tree.PathOf("quillmark.ini");
  tree.WriteFile("quillmark.ini", "[Quillmark]\nKey=1\n");
  for (const auto& [section, key] : names) {
    EXPECT_FALSE(WritePrivateProfileString(path, section, key, "v")) << section << "/" << key;
  }
  EXPECT_EQ(ReadWholeFile(path), "[Quillmark]\nKey=1\n");
  EXPECT_EQ(NamesIn(tree.Root()), std::set<std::string>{"quillmark.ini"});
}

TEST(PrivateProfileWriteTest, KeepsThePermissionBitsAndALink) {
  TempTree tree;
  tree.WriteFile("real/settings.ini", "[Quillmark]\nKey=old\n");
  const std::string real = tree.PathOf("real/settings.ini");
  ASSERT_EQ(chmod(real.c_str(), 0604), 0);
  tree.MakeLink("quillmark.ini", real);

  ASSERT_TRUE(WritePrivateProfileString(tree.PathOf("quillmark.ini"), "Quillmark", "Key", "new"));
  EXPECT_TRUE(fs::is_symlink(tree.PathOf("quillmark.ini")));
  EXPECT_EQ(ReadWholeFile(real), "[Quillmark]\nKey=new\n");
  struct stat status {};
  ASSERT_EQ(stat(real.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0604u);
  EXPECT_EQ(NamesIn(tree.PathOf("real")), std::set<std::string>{"settings.ini"});
}

TEST(PrivateProfileWriteTest, FailsWhereNoFileCanBeWritten) {
  TempTree tree;
  tree.WriteFile("plain-file", "x");
  tree.MakeFolder("folder.ini");
  tree.MakeFifo("fifo.ini");  // exists but cannot be read as a file: never replaced
  for (const char* relative : {"missing-folder/quillmark.ini", "plain-file/quillmark.ini", "folder.ini", "fifo.ini"}) {
    EXPECT_FALSE(WritePrivateProfileString(tree.PathOf(relative), "Quillmark", "Key", "v")) << relative;
  }
  EXPECT_EQ(NamesIn(tree.Root()), (std::set<std::string>{"plain-file", "folder.ini", "fifo.ini"}));
  EXPECT_EQ(ReadWholeFile(tree.PathOf("plain-file")), "x");
  EXPECT_TRUE(fs::is_empty(tree.PathOf("folder.ini")));
  EXPECT_TRUE(fs::is_fifo(tree.PathOf("fifo.ini")));
}

// A file size limit makes the write fail half way, as a full disk does, even
// for root.
TEST(PrivateProfileWriteTest, LeavesTheOldFileWholeWhenTheDiskIsFull) {
  TempTree tree;
  const std::string path = tree.PathOf("quillmark.ini");
  const std::string before = "[Quillmark]\nKey=old\nOther=kept\n";
  tree.WriteFile("quillmark.ini", before);

  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 64;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = WritePrivateProfileString(path, "Quillmark", "Key", std::string(1000, 'n'));
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, savedHandler);

  EXPECT_FALSE(written);
  EXPECT_EQ(ReadWholeFile(path), before);
  EXPECT_EQ(NamesIn(tree.Root()), std::set<std::string>{"quillmark.ini"});
}

}  // namespace
}  // namespace quillmark::platform
