// Settings whose bytes are no UTF-8 (a Shift_JIS folder name from a
// Windows system, a value cut by the read limit inside a character) pass
// through the window's fields unchanged unless the user edits them.
#include <gtest/gtest.h>

#include <optional>

#include "main_dialog_driver.h"
#include "message_recorder.h"
#include "platform/private_profile.h"
#include "settings_dialog_driver.h"
#include "tests/support/temp_tree.h"

namespace quillmark::testing {
namespace {

constexpr const char* kSjisHyouji = "\x95\x5C\x8E\xA6";  // 表示 in Shift_JIS

// "/" and 1,400 あ in UTF-8: the read keeps 4,095 bytes, two of the last
// character's three.
std::string CutByTheReadLimit() {
  std::string value = "/";
  for (int i = 0; i < 1400; ++i) value += "あ";
  return value;
}

class SavedBytesTest : public ::testing::Test {
 protected:
  std::string IniValue(const char* key) {
    return platform::GetPrivateProfileString(settingsPath, "Quillmark", key, "<missing>");
  }
  void Save(const char* key, const std::string& value) {
    ASSERT_TRUE(platform::WritePrivateProfileString(settingsPath, "Quillmark", key, value));
  }
  std::string Field(int id) { return window->Text(id).GetValue().utf8_string(); }

  TempTree settingsFolder;
  std::string settingsPath = settingsFolder.PathOf("quillmark.ini");
  MessageRecorder recorder;
  std::optional<MainDialogDriver> window;
};

TEST_F(SavedBytesTest, TheSavedFolderSurvivesAStartAndACloseUnlessEdited) {
  struct Case {
    const char* name;
    std::string saved;
    std::optional<std::string> typed;  // what the user types over the field, if anything
    std::string shown;                 // the field at the start
    std::string savedAtClose;
  };
  const std::string cut = CutByTheReadLimit();
  const std::string cutRead = cut.substr(0, platform::kMaxProfileValueBytes);
  const Case cases[] = {
      {"Shift_JIS", std::string("/src/") + kSjisHyouji, std::nullopt, "/src/表示", std::string("/src/") + kSjisHyouji},
      {"cut UTF-8", cut, std::nullopt, "", cutRead},
      {"edited", std::string("/src/") + kSjisHyouji, "/src/表示/sub", "/src/表示", "/src/表示/sub"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Save("FinderRootPath", c.saved);
    window.emplace(settingsPath);
    if (!c.shown.empty()) {
      EXPECT_EQ(Field(res::kFolderEdit), c.shown);
    }
    EXPECT_FALSE(Field(res::kFolderEdit).empty()) << "the field shows the saved folder";
    EXPECT_EQ(window->dialog.GetRootPath(), c.saved.substr(0, platform::kMaxProfileValueBytes));
    if (c.typed) window->SetFolder(*c.typed);

    window->dialog.Close();

    EXPECT_EQ(IniValue("FinderRootPath"), c.savedAtClose);
    EXPECT_EQ(window->dialog.GetRootPath(), c.savedAtClose);
    window.reset();
  }
  EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(SavedBytesTest, ASearchWalksTheSavedFolderByItsBytes) {
  TempTree sources;
  const std::string folder = sources.PathOf(kSjisHyouji);
  sources.WriteFile(std::string(kSjisHyouji) + "/sub/a.c", std::string("\"") + kSjisNihon + "\"\n");
  Save("FinderRootPath", "  " + folder);
  window.emplace(settingsPath);

  window->Click(res::kSearchButton);
  window->WaitForSearch();

  EXPECT_EQ(window->Rows(), (std::vector<Row>{{Padded("日本", 4), "1", "sub/a.c"}}));
  EXPECT_EQ(recorder.messages, std::vector{Information("解析完了")});
  EXPECT_EQ(window->dialog.GetRootPath(), folder);
  EXPECT_EQ(IniValue("FinderRootPath"), folder) << "saved trimmed, as the bytes it was";
  EXPECT_TRUE(window->dialog.GetLogText().starts_with("********** 解析開始(SJIS-JP) **********\n"
                                                      "=== directory:" + sources.Root() + "/表示\n"));
}

TEST_F(SavedBytesTest, OkInTheSettingsDialogWritesUneditedBytesBack) {
  const std::string cut = CutByTheReadLimit();
  const std::string cutRead = cut.substr(0, platform::kMaxProfileValueBytes);
  const std::string sjisPath = std::string("/opt/") + kSjisHyouji + "/edit";
  const std::string sjisExt = std::string("c;") + kSjisHyouji;
  Save("EditorPath", sjisPath);
  Save("EditorParam", cut);
  Save("FileExt", sjisExt);
  window.emplace(settingsPath);
  SettingsDialogDriver settings(*window);
  auto fieldText = [&](int id) {
    return dynamic_cast<wxTextCtrl&>(*settings.Dialog().FindWindow(id)).GetValue().utf8_string();
  };

  std::vector<std::string> shown;
  settings.Open([&] {
    shown = {fieldText(res::kEditorPathEdit), fieldText(res::kEditorParamEdit), fieldText(res::kFileExtEdit)};
    settings.Press(res::kSettingsOkButton);
  });

  EXPECT_EQ(shown[0], "/opt/表示/edit");
  EXPECT_FALSE(shown[1].empty());
  EXPECT_EQ(shown[2], "c;表示");
  const editor::EditorSettings& values = settings.Dialog().values;
  EXPECT_EQ(values.editorPath, sjisPath);
  EXPECT_EQ(values.editorParam, cutRead);
  EXPECT_EQ(values.fileExt, sjisExt);
  EXPECT_EQ(IniValue("EditorPath"), sjisPath);
  EXPECT_EQ(IniValue("EditorParam"), cutRead);
  EXPECT_EQ(IniValue("FileExt"), sjisExt);

  // Once edited, a field gives its text; the others still give their bytes.
  settings.Open([&] {
    settings.Type(res::kEditorPathEdit, "/opt/表示/editor");
    settings.Press(res::kSettingsOkButton);
  });

  EXPECT_EQ(IniValue("EditorPath"), "/opt/表示/editor");
  EXPECT_EQ(IniValue("FileExt"), sjisExt);
  EXPECT_TRUE(recorder.messages.empty());
}

}  // namespace
}  // namespace quillmark::testing
