// The settings dialog (template 129) driven through its controls, opened
// from the main window's 設定 button with its modal run replaced.
#include <gtest/gtest.h>
#include <wx/combobox.h>

#include <filesystem>
#include <functional>
#include <optional>

#include "editor/editor_settings.h"
#include "editor/settings_dialog.h"
#include "engine/search_options.h"
#include "main_dialog_driver.h"
#include "platform/private_profile.h"
#include "message_recorder.h"
#include "res/settings_dialog_template.h"
#include "settings_dialog_driver.h"
#include "template_layout.h"
#include "tests/support/temp_tree.h"

namespace quillmark::testing {
namespace {

using editor::EditorSettings;
using editor::SettingsDialog;
using Names = std::vector<std::string>;

const Names kPresetNames = {
    "秀丸エディタ", "WZ Editor", "サクラエディタ", "xyzzy", "QXエディタ", "MIFES",
    "EmEditor", "Emacs系統(Meadow等)", "ViVi", "Vim", "Peggy", "TeraPad",
    "MMエディタ", "Dana", "notepad（指定行ｼﾞｬﾝﾌﾟなし）", "行番号ｼﾞｬﾝﾌﾟなし", "カスタム",
};
constexpr int kSakura = 2;
constexpr int kMifes = 5;
constexpr int kVim = 9;
constexpr int kCustom = 16;
constexpr int kAutoEncoding = 3;

std::vector<std::string> ValuesOf(const EditorSettings& values) {
  return {values.editorPath, values.editorParam, values.editorType, values.fileExt, values.encoding};
}

class SettingsDialogTest : public ::testing::Test {
 protected:
  // Clicks 設定; `drive` then acts on the open dialog, as the user would.
  void OpenSettings(const std::function<void()>& drive) {
    settings().SetModalRun([&drive](SettingsDialog& dialog) {
      drive();
      return dialog.GetReturnCode();
    });
    window.Click(res::kSettingsButton);
  }

  SettingsDialog& settings() { return window.dialog.GetSettingsDialog(); }
  wxTextCtrl& Field(int id) { return *dynamic_cast<wxTextCtrl*>(settings().FindWindow(id)); }
  wxComboBox& Combo(int id) { return *dynamic_cast<wxComboBox*>(settings().FindWindow(id)); }
  std::string FieldText(int id) { return Field(id).GetValue().utf8_string(); }
  std::string Selected(int id) { return Combo(id).GetStringSelection().utf8_string(); }
  Names Items(int id) {
    Names items;
    for (unsigned i = 0; i < Combo(id).GetCount(); ++i) items.push_back(Combo(id).GetString(i).utf8_string());
    return items;
  }
  void Type(int id, const std::string& text) { Field(id).ChangeValue(wxString::FromUTF8(text)); }
  void Pick(int comboId, int item) {
    Combo(comboId).SetSelection(item);
    wxCommandEvent pick(wxEVT_COMBOBOX, comboId);
    pick.SetInt(item);
    pick.SetEventObject(&Combo(comboId));
    Combo(comboId).ProcessWindowEvent(pick);
  }
  void Press(int buttonId) {
    wxWindow& button = *settings().FindWindow(buttonId);
    wxCommandEvent click(wxEVT_BUTTON, buttonId);
    click.SetEventObject(&button);
    button.ProcessWindowEvent(click);
  }
  void Store(const std::string& editorType, const std::string& editorParam, const std::string& encoding = "SJIS") {
    settings().values.editorType = editorType;
    settings().values.editorParam = editorParam;
    settings().values.encoding = encoding;
  }

  TempTree settingsFolder;
  std::string settingsPath = settingsFolder.PathOf("quillmark.ini");
  MessageRecorder recorder;
  MainDialogDriver window{settingsPath};
};

TEST_F(SettingsDialogTest, ControlsFollowTemplate129InTabOrder) {
  OpenSettings([] {});
  ExpectControlsFollowTemplate(settings(), res::SettingsDialogTemplate());
  EXPECT_EQ(settings().GetTitle().utf8_string(), "設定");
  EXPECT_EQ(settings().GetParent(), nullptr);
  EXPECT_TRUE(Combo(res::kEditorTypeCombo).HasFlag(wxCB_READONLY));
  EXPECT_TRUE(Combo(res::kEncodingCombo).HasFlag(wxCB_READONLY));
  EXPECT_EQ(Items(res::kEncodingCombo), (Names{"SJIS", "EUC", "UTF8", "AUTO"}));
  EXPECT_EQ(settings().FindWindow(res::kCLexerCheck)->GetLabel().utf8_string(), "C/C++の字句規則で読む");
}

TEST_F(SettingsDialogTest, EveryShowingListsTheSeventeenPresetsInTableOrder) {
  for (int showing = 0; showing < 3; ++showing) {
    OpenSettings([] {});
    EXPECT_EQ(Items(res::kEditorTypeCombo), kPresetNames) << "showing " << showing;
    EXPECT_EQ(Items(res::kEncodingCombo), (Names{"SJIS", "EUC", "UTF8", "AUTO"})) << "showing " << showing;
  }
}

TEST_F(SettingsDialogTest, OpensOnTheStoredPresetWithTheStoredTemplate) {
  struct Case {
    const char* editorType;
    const char* editorParam;
    int selected;
    bool editable;
  };
  const Case cases[] = {
      {"sakura", "-Y=%L %F", kSakura, false},
      {"custom", "-x %F", kCustom, true},
      {"Sakura", "-Y=%L %F", kCustom, true},  // keys match case-sensitively
      {"no-such-editor", "%F", kCustom, true},
      {"vim", "stored text", kVim, false},  // the field is not reset to the preset's
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.editorType);
    Store(c.editorType, c.editorParam);
    settings().values.editorPath = "/usr/bin/editor";
    settings().values.fileExt = "c;h";
    OpenSettings([&] {
      EXPECT_EQ(Combo(res::kEditorTypeCombo).GetSelection(), c.selected);
      EXPECT_EQ(FieldText(res::kEditorParamEdit), c.editorParam);
      EXPECT_EQ(Field(res::kEditorParamEdit).IsEditable(), c.editable);
      EXPECT_EQ(FieldText(res::kEditorPathEdit), "/usr/bin/editor");
      EXPECT_EQ(FieldText(res::kFileExtEdit), "c;h");
    });
  }
}

TEST_F(SettingsDialogTest, APresetShowsItsTemplateAndTheCustomEntryKeepsIt) {
  Store("custom", "mine %F");
  OpenSettings([this] {
    Pick(res::kEditorTypeCombo, kMifes);
    EXPECT_EQ(FieldText(res::kEditorParamEdit), "%F+%L");
    EXPECT_FALSE(Field(res::kEditorParamEdit).IsEditable());

    Pick(res::kEditorTypeCombo, kCustom);
    EXPECT_EQ(FieldText(res::kEditorParamEdit), "%F+%L");
    EXPECT_TRUE(Field(res::kEditorParamEdit).IsEditable());
  });
}

TEST_F(SettingsDialogTest, VimThenOkStoresItsKeyAndTemplateAndSavesTheFiveValues) {
  Store("custom", "%F");
  settings().values.editorPath = "xdg-open";
  OpenSettings([this] {
    Pick(res::kEditorTypeCombo, kVim);
    Type(res::kEditorPathEdit, "/usr/bin/vim");
    Press(res::kSettingsOkButton);
  });

  EXPECT_EQ(ValuesOf(settings().values), (Names{"/usr/bin/vim", "+%L %F", "vim", "c;cpp;h;hpp", "SJIS"}));
  EXPECT_EQ(ReadWholeFile(settingsPath),
            "[Quillmark]\nEditorPath=/usr/bin/vim\nEditorParam=+%L %F\nEditorType=vim\nFileExt=c;cpp;h;hpp\n"
            "Encoding=SJIS\n");
  EXPECT_TRUE(recorder.messages.empty());
  EXPECT_FALSE(settings().IsShown());
}

TEST_F(SettingsDialogTest, OkTakesTheFieldsExactlyAsTyped) {
  OpenSettings([this] {
    Type(res::kEditorPathEdit, "");
    Pick(res::kEditorTypeCombo, kCustom);
    Type(res::kEditorParamEdit, "  no placeholders ");
    Type(res::kFileExtEdit, "");
    Pick(res::kEncodingCombo, 1);
    Press(res::kSettingsOkButton);
  });

  EXPECT_EQ(ValuesOf(settings().values), (Names{"", "  no placeholders ", "custom", "", "EUC"}));
}

TEST_F(SettingsDialogTest, CancelKeepsEveryValueAndTheNextShowingShowsThemAgain) {
  Store("sakura", "-Y=%L %F", "EUC");
  const auto before = ValuesOf(settings().values);
  const auto cancelWith = [this](const std::function<void()>& close) {
    OpenSettings([&] {
      Type(res::kEditorPathEdit, "/changed");
      Pick(res::kEditorTypeCombo, kMifes);
      Type(res::kFileExtEdit, "txt");
      Pick(res::kEncodingCombo, 0);
      SettingsDialogDriver(window).Tick(res::kCLexerCheck, true);
      close();
    });
  };
  wxKeyEvent esc(wxEVT_CHAR_HOOK);
  esc.m_keyCode = WXK_ESCAPE;
  for (const auto& close : std::vector<std::function<void()>>{
           [&] { Press(res::kSettingsCancelButton); },
           [&] { settings().ProcessWindowEvent(esc); },
           [&] { settings().Close(); },
       }) {
    cancelWith(close);
    EXPECT_EQ(ValuesOf(settings().values), before);
    EXPECT_FALSE(settings().values.cLexer);
    EXPECT_FALSE(settings().IsShown());
  }
  EXPECT_FALSE(std::filesystem::exists(settingsPath)) << "nothing is written";

  OpenSettings([this] {
    EXPECT_EQ(Selected(res::kEditorTypeCombo), "サクラエディタ");
    EXPECT_EQ(FieldText(res::kEditorParamEdit), "-Y=%L %F");
    EXPECT_EQ(FieldText(res::kEditorPathEdit), editor::kDefaultEditorPath);
    EXPECT_EQ(Selected(res::kEncodingCombo), "EUC");
    EXPECT_FALSE(SettingsDialogDriver(window).Ticked(res::kCLexerCheck));
  });
}

TEST_F(SettingsDialogTest, TheEncodingIsPickedByPrefixWithoutRegardToCase) {
  struct Case {
    const char* stored;
    const char* selected;
  };
  const Case cases[] = {
      {"EUC", "EUC"}, {"euc", "EUC"}, {"e", "EUC"}, {"SJIS", "SJIS"},
      {"sjis", "SJIS"}, {"UTF-8", "SJIS"}, {"", "SJIS"}, {"UTF8", "UTF8"}, {"AUTO", "AUTO"}, {"auto", "AUTO"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    settings().values.encoding = c.stored;
    OpenSettings([&] {
      EXPECT_EQ(Selected(res::kEncodingCombo), c.selected);
      Press(res::kSettingsOkButton);
    });
    EXPECT_EQ(settings().values.encoding, c.selected) << "OK stores the item's text";
  }
}

TEST_F(SettingsDialogTest, AutoIsReadBackAtTheNextStartAndOkWritesItUnchanged) {
  OpenSettings([this] {
    Pick(res::kEncodingCombo, kAutoEncoding);
    Press(res::kSettingsOkButton);
  });
  const std::string stored =
      std::string("[Quillmark]\nEditorPath=") + editor::kDefaultEditorPath +
      "\nEditorParam=%F\nEditorType=custom\nFileExt=c;cpp;h;hpp\nEncoding=AUTO\n";
  ASSERT_EQ(ReadWholeFile(settingsPath), stored);

  MainDialogDriver restarted{settingsPath};
  SettingsDialogDriver again{restarted};
  again.Open([&] {
    auto& encoding = dynamic_cast<wxComboBox&>(*again.Dialog().FindWindow(res::kEncodingCombo));
    EXPECT_EQ(encoding.GetStringSelection().utf8_string(), "AUTO");
    again.Press(res::kSettingsOkButton);
  });
  EXPECT_EQ(ReadWholeFile(settingsPath), stored);

  TempTree empty;
  restarted.Search(empty.Root());
  EXPECT_EQ(restarted.Status(), "解析完了(AUTO).") << "the search uses it too";
  EXPECT_EQ(recorder.messages, std::vector{Information("解析完了")});
}

TEST_F(SettingsDialogTest, TheLexerTickedIsWrittenReadBackAtTheNextStartAndUsedByTheNextSearch) {
  const auto lexerOfNextSearch = [](MainDialogDriver& driver) {
    std::optional<engine::Lexer> lexer;
    driver.dialog.SetOptionsObserver([&](const engine::SearchOptions& options) { lexer = options.lexer; });
    TempTree empty;
    driver.Search(empty.Root());
    driver.dialog.SetOptionsObserver({});
    return lexer;
  };
  const auto storedLexer = [this] {
    return platform::GetPrivateProfileString(settingsPath, "Quillmark", "Lexer", "<missing>");
  };
  EXPECT_EQ(lexerOfNextSearch(window), engine::Lexer::Line);
  EXPECT_EQ(storedLexer(), "<missing>");

  SettingsDialogDriver first{window};
  first.Open([&] {
    EXPECT_FALSE(first.Ticked(res::kCLexerCheck));
    first.Tick(res::kCLexerCheck, true);
    first.Press(res::kSettingsOkButton);
  });
  EXPECT_EQ(storedLexer(), "C");
  EXPECT_EQ(lexerOfNextSearch(window), engine::Lexer::C);

  MainDialogDriver restarted{settingsPath};
  SettingsDialogDriver again{restarted};
  EXPECT_EQ(lexerOfNextSearch(restarted), engine::Lexer::C);
  again.Open([&] {
    EXPECT_TRUE(again.Ticked(res::kCLexerCheck));
    again.Tick(res::kCLexerCheck, false);
    again.Press(res::kSettingsOkButton);
  });
  EXPECT_EQ(storedLexer(), "LINE");
  EXPECT_EQ(lexerOfNextSearch(restarted), engine::Lexer::Line);
}

TEST_F(SettingsDialogTest, BrowsePutsTheChosenFileIntoThePathFieldOnly) {
  std::vector<editor::FileOpenRequest> requests;
  std::optional<std::string> choice = "/opt/editors/日本 edit";
  settings().SetFileChooser([&](wxWindow* parent, const editor::FileOpenRequest& request) {
    EXPECT_EQ(parent, &settings());
    requests.push_back(request);
    return choice;
  });
  settings().values.editorPath = "xdg-open";
  OpenSettings([&] {
    Press(res::kBrowseEditorButton);
    EXPECT_EQ(FieldText(res::kEditorPathEdit), "/opt/editors/日本 edit");
    choice.reset();
    Press(res::kBrowseEditorButton);
    EXPECT_EQ(FieldText(res::kEditorPathEdit), "/opt/editors/日本 edit") << "a cancelled browse changes nothing";
    Press(res::kSettingsCancelButton);
  });

  EXPECT_EQ(settings().values.editorPath, "xdg-open");
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].title, "エディターの指定");
  EXPECT_TRUE(requests[0].wildcard.starts_with("アプリケーション(*.exe)|*.exe|すべてのファイル(*.*)|"))
      << requests[0].wildcard;
  EXPECT_EQ(requests[0], editor::EditorFileOpenRequest());
}

TEST_F(SettingsDialogTest, OkWhenTheSettingsFileCannotBeWrittenGivesOneBoxPerValue) {
  // A folder where the file should be refuses every write, even to root.
  std::filesystem::create_directory(settingsPath);
  OpenSettings([this] {
    Pick(res::kEditorTypeCombo, kVim);
    Press(res::kSettingsOkButton);
  });

  EXPECT_EQ(recorder.messages, std::vector<RecordedMessage>(5, Warning("INIファイルに書き込めませんでした")));
  EXPECT_EQ(settings().values.editorType, "vim") << "the new values are used all the same";
}

}  // namespace
}  // namespace quillmark::testing
