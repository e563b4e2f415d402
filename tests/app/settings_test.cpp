// The settings store on real files.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "app/settings.h"
#include "editor/settings_dialog.h"
#include "main_dialog_driver.h"
#include "message_recorder.h"
#include "tests/support/file_events.h"
#include "tests/support/temp_tree.h"

namespace quillmark::testing {
namespace {

using app::Settings;
using Values = std::vector<std::string>;

// The six values in the order of the file's keys.
Values ValuesOf(const Settings& settings) {
  return {settings.editorPath, settings.editorParam, settings.editorType,
          settings.fileExt,    settings.encoding,    settings.finderRootPath};
}

TEST(Settings, DefaultsWithoutAFile) {
  TempTree folder;
  EXPECT_EQ(ValuesOf(app::LoadSettings(folder.PathOf("quillmark.ini"))),
            (Values{"xdg-open", "%F", "custom", "c;cpp;h;hpp", "SJIS", ""}));
}

TEST(Settings, LoadsEveryKeyAndDefaultsTheMissingOnes) {
  TempTree folder;
  folder.WriteFile("quillmark.ini",
                   "[Other]\nEncoding=EUC\n"
                   "[quillmark]\nEDITORPATH=/usr/bin/vim\nEditorParam=+%L %F\nFileExt=c;cc\n"
                   "FinderRootPath=/src/日本語\n");
  EXPECT_EQ(ValuesOf(app::LoadSettings(folder.PathOf("quillmark.ini"))),
            (Values{"/usr/bin/vim", "+%L %F", "custom", "c;cc", "SJIS", "/src/日本語"}));
}

TEST(Settings, LexerIsCInAnyCaseAndTheLineScannerOtherwise) {
  struct Case {
    const char* file;
    bool cLexer;
  };
  const Case cases[] = {
      {"[Quillmark]\nLexer=C\n", true},    {"[Quillmark]\nlexer=c\n", true},
      {"[Quillmark]\nLexer=LINE\n", false}, {"[Quillmark]\nLexer=cpp\n", false},
      {"[Quillmark]\nLexer=\n", false},     {"[Quillmark]\nEncoding=EUC\n", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    TempTree folder;
    folder.WriteFile("quillmark.ini", c.file);
    EXPECT_EQ(app::LoadSettings(folder.PathOf("quillmark.ini")).cLexer, c.cLexer);
  }
}

TEST(Settings, TheWindowReadsTheFileOnceAtItsStart) {
  TempTree folder;
  const std::string path = folder.PathOf("quillmark.ini");
  folder.WriteFile("quillmark.ini", "[Quillmark]\nEditorPath=/usr/bin/vim\nFinderRootPath=/src\n");
  FileEvents events;
  // Closes between the opens keep inotify from merging them into one event.
  ASSERT_TRUE(events.Works() && events.Watch(path, IN_OPEN | IN_CLOSE_NOWRITE));

  MainDialogDriver window(path);

  EXPECT_EQ(events.Take(), (std::vector<std::string>{path + ": 20", path + ": 10"})) << "IN_OPEN, IN_CLOSE_NOWRITE";
  EXPECT_EQ(window.dialog.GetSettingsDialog().values.editorPath, "/usr/bin/vim");
  EXPECT_EQ(window.dialog.GetRootPath(), "/src");
}

TEST(Settings, SaveWritesTheFiveDialogValuesInOrder) {
  TempTree folder;
  const std::string path = folder.PathOf("quillmark.ini");
  MessageRecorder recorder;
  Settings settings;
  settings.editorPath = "gedit";
  settings.editorParam = "+%L \"%F\"";
  settings.finderRootPath = "/not/written/here";

  EXPECT_TRUE(app::SaveSettings(path, settings));

  EXPECT_EQ(ReadWholeFile(path),
            "[Quillmark]\nEditorPath=gedit\nEditorParam=+%L \"%F\"\nEditorType=custom\nFileExt=c;cpp;h;hpp\n"
            "Encoding=SJIS\n");
  EXPECT_TRUE(recorder.messages.empty());
}

TEST(Settings, LexerIsWrittenWhenCOrAlreadyInTheFile) {
  const std::string fiveKeys = "[Quillmark]\nEditorPath=xdg-open\nEditorParam=%F\nEditorType=custom\n"
                               "FileExt=c;cpp;h;hpp\nEncoding=SJIS\n";
  struct Case {
    std::string before;
    bool cLexer;
    std::string after;
  };
  const Case cases[] = {
      {fiveKeys + "FinderRootPath=/src\n", false, fiveKeys + "FinderRootPath=/src\n"},  // byte for byte
      {fiveKeys, true, fiveKeys + "Lexer=C\n"},
      {fiveKeys + "Lexer=C\n", false, fiveKeys + "Lexer=LINE\n"},
      {fiveKeys + "lexer=c\n", true, fiveKeys + "lexer=C\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before);
    TempTree folder;
    folder.WriteFile("quillmark.ini", c.before);
    MessageRecorder recorder;
    Settings settings;
    settings.cLexer = c.cLexer;

    EXPECT_TRUE(app::SaveSettings(folder.PathOf("quillmark.ini"), settings));

    EXPECT_EQ(ReadWholeFile(folder.PathOf("quillmark.ini")), c.after);
    EXPECT_TRUE(recorder.messages.empty());
  }
}

TEST(Settings, EachFailedWriteIsReportedOnce) {
  TempTree folder;
  MessageRecorder recorder;

  EXPECT_FALSE(app::SaveSettings(folder.PathOf("missing/quillmark.ini"), Settings{}));
  EXPECT_EQ(recorder.messages, std::vector<RecordedMessage>(5, Warning("INIファイルに書き込めませんでした")));

  recorder.messages.clear();
  Settings cLexer;
  cLexer.cLexer = true;
  EXPECT_FALSE(app::SaveSettings(folder.PathOf("missing/quillmark.ini"), cLexer));
  EXPECT_EQ(recorder.messages, std::vector<RecordedMessage>(6, Warning("INIファイルに書き込めませんでした")));

  recorder.messages.clear();
  EXPECT_FALSE(app::SaveFinderRootPath(folder.PathOf("missing/quillmark.ini"), "/x"));
  EXPECT_EQ(recorder.messages, std::vector{Warning("INIファイルに書き込めませんでした")});
}

TEST(Settings, TheFileLivesInTheGivenFolderWhateverItsLength) {
  const std::string deep = "/" + std::string(300, 'd');
  EXPECT_EQ(app::SettingsFilePath(deep), deep + "/quillmark.ini");
  EXPECT_EQ(app::SettingsFilePath("/"), "/quillmark.ini");
}

}  // namespace
}  // namespace quillmark::testing
