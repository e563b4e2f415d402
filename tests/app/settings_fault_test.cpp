// The settings store through the real window when the settings file cannot
// be written or is odd: the values the user chose are used all the same,
// each failed key is reported once, and the file is never damaged.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>

#include "main_dialog_driver.h"
#include "message_recorder.h"
#include "settings_dialog_driver.h"
#include "tests/support/fill_file_system.h"
#include "tests/support/scoped_tmpfs.h"
#include "tests/support/temp_tree.h"

namespace quillmark::testing {
namespace {

namespace fs = std::filesystem;
using Values = std::vector<std::string>;

const RecordedMessage kWriteFailed = Warning("INIファイルに書き込めませんでした");

Values ValuesOf(const editor::EditorSettings& values) {
  return {values.editorPath, values.editorParam, values.editorType, values.fileExt, values.encoding};
}

std::set<std::string> NamesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

class SettingsFaultTest : public ::testing::Test {
 protected:
  SettingsFaultTest() {
    // Found only with FileExt "txt" and Encoding EUC; the .c file only
    // with the defaults.
    sources.WriteFile("e.txt", "L\"\xc6\xfc\xcb\xdc\";\n");  // 日本 in EUC-JP
    sources.WriteFile("s.c", std::string("\"") + kSjisNihon + "\"\n");
  }

  void OpenWindow(const std::string& settingsPath) { window.emplace(settingsPath); }

  // OK with FileExt "txt" and Encoding EUC, and `more` typed first.
  void ChooseTxtAndEuc(const std::function<void(SettingsDialogDriver&)>& more = {}) {
    SettingsDialogDriver settings(*window);
    settings.Open([&] {
      if (more) more(settings);
      settings.Type(res::kFileExtEdit, "txt");
      settings.Pick(res::kEncodingCombo, SettingsDialogDriver::kEucItem);
      settings.Press(res::kSettingsOkButton);
    });
  }

  // The next search finds only what the new FileExt and Encoding find.
  void ExpectASearchUsesTxtAndEuc() {
    window->Search(sources.Root());
    EXPECT_EQ(window->Rows(), (std::vector<Row>{{Padded("日本", 4), "1", "e.txt"}}));
    EXPECT_EQ(window->Status(), "解析完了(EUC-JP).");
  }

  editor::EditorSettings& Chosen() { return window->dialog.GetSettingsDialog().values; }

  TempTree tree;
  TempTree sources;
  MessageRecorder recorder;
  std::optional<MainDialogDriver> window;
};

// One page left: the long values cannot be written, the short ones can.
TEST_F(SettingsFaultTest, OkOnANearlyFullDiskWritesWhatFitsAndKeepsEveryChoice) {
  ScopedTmpfs tmpfs(tree.PathOf("fs"), 64 * 1024);
  if (!tmpfs.Mounted()) GTEST_SKIP() << "cannot mount a tmpfs here";
  const std::string settingsPath = tmpfs.Folder() + "/quillmark.ini";
  tree.WriteFile("fs/quillmark.ini", "[Quillmark]\nEditorPath=/usr/bin/old\nFileExt=c\n");
  OpenWindow(settingsPath);
  ASSERT_TRUE(FillFileSystemLeaving(tmpfs.Folder(), 4096));
  const std::string longPath(16384, 'p');
  const std::string longParam(16384, 'q');

  ChooseTxtAndEuc([&](SettingsDialogDriver& settings) {
    settings.Type(res::kEditorPathEdit, longPath);
    settings.Pick(res::kEditorTypeCombo, SettingsDialogDriver::kCustomPreset);
    settings.Type(res::kEditorParamEdit, longParam);
  });

  EXPECT_EQ(recorder.messages, (std::vector{kWriteFailed, kWriteFailed})) << "EditorPath and EditorParam";
  EXPECT_EQ(ValuesOf(Chosen()), (Values{longPath, longParam, "custom", "txt", "EUC"}));
  EXPECT_EQ(ReadWholeFile(settingsPath),
            "[Quillmark]\nEditorPath=/usr/bin/old\nFileExt=txt\nEditorType=custom\nEncoding=EUC\n");
  EXPECT_EQ(NamesIn(tmpfs.Folder()), (std::set<std::string>{"quillmark.ini", "filler"})) << "no temporary left";

  recorder.messages.clear();
  ExpectASearchUsesTxtAndEuc();
  EXPECT_EQ(recorder.messages, std::vector{Information("解析完了")});
  EXPECT_EQ(ReadWholeFile(settingsPath), "[Quillmark]\nEditorPath=/usr/bin/old\nFileExt=txt\nEditorType=custom\n"
                                         "Encoding=EUC\nFinderRootPath=" + sources.Root() + "\n");
}

// A folder in place of the file refuses every write, even to root.
TEST_F(SettingsFaultTest, OkWithAFolderInPlaceOfTheFileWarnsPerKeyAndKeepsEveryChoice) {
  const std::string settingsPath = tree.PathOf("quillmark.ini");
  tree.WriteFile("quillmark.ini/kept", "x");
  OpenWindow(settingsPath);

  ChooseTxtAndEuc();

  EXPECT_EQ(recorder.messages, std::vector(5, kWriteFailed));
  EXPECT_EQ(ValuesOf(Chosen()), (Values{"xdg-open", "%F", "custom", "txt", "EUC"}));

  recorder.messages.clear();
  ExpectASearchUsesTxtAndEuc();
  EXPECT_EQ(recorder.messages, (std::vector{kWriteFailed, Information("解析完了")})) << "FinderRootPath, then outcome";
  EXPECT_EQ(window->dialog.GetRootPath(), sources.Root());
  EXPECT_EQ(NamesIn(settingsPath), std::set<std::string>{"kept"});
  EXPECT_EQ(NamesIn(tree.Root()), std::set<std::string>{"quillmark.ini"});
}

// A byte-order mark, CR LF, a section and keys given twice, a line of
// binary junk and no line end at the end: the first values count, and the
// writes change only the lines of the keys they write.
TEST_F(SettingsFaultTest, AnOddFileGivesItsFirstValuesAndKeepsEveryOtherByte) {
  const std::string junk("\x00\x01\xfe\xff junk\xc0\x7f\r\n", 13);
  const std::string head = "\xEF\xBB\xBF; Quillmark settings\r\n[quillmark]\r\n";
  const std::string tail = "[Other]\r\nEncoding=EUC\r\n[QUILLMARK]\r\nEncoding=EUC\r\nEditorType=vim\r\nEditorParam=+%L %F";
  const std::string settingsPath = tree.PathOf("quillmark.ini");
  tree.WriteFile("quillmark.ini", head + "EditorPath = /usr/bin/first \r\neditorpath=/usr/bin/second\r\n" + junk +
                                      "FinderRootPath=\"/src/日本\"\r\nFileExt=c;h\r\n" + tail);

  OpenWindow(settingsPath);

  EXPECT_EQ(ValuesOf(Chosen()), (Values{"/usr/bin/first", "%F", "custom", "c;h", "SJIS"}));
  EXPECT_EQ(window->dialog.GetRootPath(), "/src/日本");
  EXPECT_EQ(window->Text(res::kFolderEdit).GetValue().utf8_string(), "/src/日本");

  ChooseTxtAndEuc();

  EXPECT_TRUE(recorder.messages.empty());
  const std::string firstSection = "EditorPath =/usr/bin/first\r\neditorpath=/usr/bin/second\r\n" + junk;
  const std::string added = "FileExt=txt\r\nEditorParam=%F\r\nEditorType=custom\r\nEncoding=EUC\r\n";
  EXPECT_EQ(ReadWholeFile(settingsPath), head + firstSection + "FinderRootPath=\"/src/日本\"\r\n" + added + tail);

  ExpectASearchUsesTxtAndEuc();
  EXPECT_EQ(ReadWholeFile(settingsPath),
            head + firstSection + "FinderRootPath=" + sources.Root() + "\r\n" + added + tail);
}

}  // namespace
}  // namespace quillmark::testing
