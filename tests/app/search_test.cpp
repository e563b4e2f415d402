// The search command driven through the main window's buttons on real
// trees and a real settings file.
#include <gtest/gtest.h>

#include "editor/settings_dialog.h"
#include "main_dialog_driver.h"
#include "message_recorder.h"
#include "platform/private_profile.h"
#include "tests/support/temp_tree.h"

namespace quillmark::testing {
namespace {

using res::kSearchButton;
using res::kStopButton;

class SearchTest : public ::testing::Test {
 protected:
  std::string IniValue(const char* key) {
    return platform::GetPrivateProfileString(settingsPath, "Quillmark", key, "<missing>");
  }

  // Searches `folder`; returns the status that the window showed while
  // the search ran.
  std::string SearchAndStatusMidway(const std::string& folder) {
    std::string midway;
    window.dialog.CallAfter([&] { midway = window.Status(); });
    window.Search(folder);
    return midway;
  }

  TempTree sources;
  TempTree settingsFolder;
  std::string settingsPath = settingsFolder.PathOf("quillmark.ini");
  MessageRecorder recorder;
  MainDialogDriver window{settingsPath};
};

TEST_F(SearchTest, ListsTheFindingsAndReportsCompletion) {
  sources.WriteFile("a.c", std::string("char* s = \"") + kSjisNihon + "\"; // \"" + kSjisTesuto + "\"\n");
  sources.WriteFile("sub/b.h", std::string("\n'x'; \"") + kSjisTesuto + "\" \"" + kSjisNihon + "\"\n");
  sources.WriteFile("sub/c.txt", std::string("\"") + kSjisNihon + "\"\n");

  window.Search("  " + sources.Root() + "\t");

  EXPECT_EQ(window.Rows(), (std::vector<Row>{
                               {Padded("日本", 4), "1", "a.c"},
                               {Padded("テスト", 6), "2", "sub/b.h"},
                               {Padded("日本", 4), "2", "sub/b.h"},
                           }));
  EXPECT_EQ(window.Status(), "解析完了(SJIS-JP).");
  EXPECT_EQ(recorder.messages, std::vector{Information("解析完了")});
  const std::string& log = window.dialog.GetLogText();
  EXPECT_TRUE(log.starts_with("********** 解析開始(SJIS-JP) **********\n=== directory:" + sources.Root() + "\n"));
  EXPECT_TRUE(log.ends_with("\n********** 解析終了(SJIS-JP) **********\n"));
  EXPECT_NE(log.find("checking string:日本\n"), std::string::npos) << "Shift_JIS trace text is decoded";
  EXPECT_EQ(window.LogPane(), log);

  EXPECT_EQ(IniValue("FinderRootPath"), sources.Root()) << "saved trimmed";
  EXPECT_EQ(window.dialog.GetRootPath(), sources.Root());
  EXPECT_EQ(window.Text(res::kFolderEdit).GetValue().utf8_string(), "  " + sources.Root() + "\t")
      << "the edit keeps what was typed";
  EXPECT_TRUE(window.Button(kSearchButton).IsShown());
  EXPECT_TRUE(window.Button(kSearchButton).IsEnabled());
  EXPECT_FALSE(window.Button(kStopButton).IsShown());
}

TEST_F(SearchTest, EucSourcesAreListedInJapanese) {
  window.dialog.GetSettingsDialog().values.encoding = "EUC";
  sources.WriteFile("e.cpp", "L\"\xc6\xfc\xcb\xdc\";\n");  // 日本 in EUC-JP

  window.Search(sources.Root());

  EXPECT_EQ(window.Rows(), (std::vector<Row>{{Padded("日本", 4), "1", "e.cpp"}}));
  EXPECT_EQ(window.Status(), "解析完了(EUC-JP).");
}

// 〜é× in UTF-8. Read as Shift_JIS, its last byte would swallow the
// closing quote; the wave dash must stay U+301C, not CP932's U+FF5E.
constexpr const char* kUtf8Literal = "\"\xE3\x80\x9C\xC3\xA9\xC3\x97\"";

TEST_F(SearchTest, AutoReadsEachFileInTheEncodingItsBytesShow) {
  window.dialog.GetSettingsDialog().values.encoding = "AUTO";
  sources.WriteFile("a.c", "\"x\";\n");
  sources.WriteFile("e.c", "\"\xA4\xA2\";\n");                   // あ in EUC-JP
  sources.WriteFile("s.c", "char* s = \"\x95\x5C\x8E\xA6\";\n");  // 表示 in Shift_JIS: 5C is no backslash
  sources.WriteFile("u.c", std::string(kUtf8Literal) + ";\n");

  EXPECT_EQ(SearchAndStatusMidway(sources.Root()), "解析中(AUTO)...");

  EXPECT_EQ(window.Rows(), (std::vector<Row>{
                               {Padded("あ", 2), "1", "e.c"},
                               {Padded("表示", 4), "1", "s.c"},
                               {"〜é×" + std::string(13, ' '), "1", "u.c"},
                           }));
  EXPECT_EQ(window.Status(), "解析完了(AUTO).");
  // Each file's encoding line follows its analyze line; a UTF-8 literal is
  // traced as written, an EUC-JP one as a Shift_JIS system shows its bytes.
  const std::string root = sources.Root();
  EXPECT_EQ(window.dialog.GetLogText(), "********** 解析開始(AUTO) **********\n"
                                        "=== directory:" + root + "\n"
                                        "-- analyze:" + root + kJoin + "a.c\n-- encoding:ASCII\n"
                                        "checking string:x\n"
                                        "-- analyze:" + root + kJoin + "e.c\n-- encoding:EUC-JP\n"
                                        "checking string:､｢\n>> e.c : 1\n"
                                        "-- analyze:" + root + kJoin + "s.c\n-- encoding:SJIS-JP\n"
                                        "checking string:表示\n>> s.c : 1\n"
                                        "-- analyze:" + root + kJoin + "u.c\n-- encoding:UTF-8\n"
                                        "checking string:〜é×\n>> u.c : 1\n"
                                        "********** 解析終了(AUTO) **********\n");

  window.Click(res::kDumpListButton);

  EXPECT_EQ(window.Text(res::kLogPane).GetStringSelection().utf8_string(),
            "============== リスト出力開始\n"
            "e.c :    1                     \"あ                  \"\n"
            "s.c :    1                     \"表示                \"\n"
            "u.c :    1                     \"〜é×             \"\n"
            "============== リスト出力終了\n");
}

// The mixed example tree, as a user searches it: Shift_JIS, EUC-JP and
// UTF-8 files side by side, each row in its own text.
TEST_F(SearchTest, TheMixedExampleTreeInAutoListsEveryLiteralInItsText) {
  window.dialog.GetSettingsDialog().values.encoding = "AUTO";

  window.Search(QUILLMARK_MIXED_EXAMPLES);

  std::vector<Row> trimmed = window.Rows();
  for (Row& row : trimmed) row.text.erase(row.text.find_last_not_of(' ') + 1);
  EXPECT_EQ(trimmed, (std::vector<Row>{
                         {"帳票名がありません", "10", "print/print.c"},
                         {"印刷", "10", "print/print.c"},
                         {"印刷を開始しますか？", "14", "print/print.c"},
                         {"印刷中… %d 枚目", "16", "print/print.c"},
                         {"%s:%d に接続しました", "7", "server/log.c"},
                         {"設定ファイル %s が読めません\\n", "13", "server/log.c"},
                         {"在庫確認", "10", "server/stock.c"},
                         {"出荷済", "11", "server/stock.c"},
                         {"未納品", "12", "server/stock.c"},
                         {"サーバに接続できない", "13", "server/stock.c"},
                         {"不正", "18", "server/stock.c"},
                         {"集計期間: %s〜%s", "5", "ui/dialog.c"},
                         {"1〜31 の日付を入力してください", "10", "ui/dialog.c"},
                         {"準備完了", "5", "ui/status.h"},
                         {"処理中です。しばらくお待ちください", "6", "ui/status.h"},
                         {"★", "7", "ui/status.h"},
                     }));
  EXPECT_EQ(window.Status(), "解析完了(AUTO).");
}

TEST_F(SearchTest, Utf8ReadsEveryFileAsWrittenAndTracesNoEncoding) {
  window.dialog.GetSettingsDialog().values.encoding = "UTF8";
  sources.WriteFile("u.cpp", "L" + std::string(kUtf8Literal) + ";\n");

  EXPECT_EQ(SearchAndStatusMidway(sources.Root()), "解析中(UTF-8)...");

  EXPECT_EQ(window.Rows(), (std::vector<Row>{{"〜é×" + std::string(13, ' '), "1", "u.cpp"}}));
  EXPECT_EQ(window.Status(), "解析完了(UTF-8).");
  const std::string root = sources.Root();
  EXPECT_EQ(window.dialog.GetLogText(), "********** 解析開始(UTF-8) **********\n"
                                        "=== directory:" + root + "\n"
                                        "-- analyze:" + root + kJoin + "u.cpp\n"
                                        "checking string:〜é×\n>> u.cpp : 1\n"
                                        "********** 解析終了(UTF-8) **********\n");
}

TEST_F(SearchTest, IsBusyWhileTheWalkRuns) {
  sources.WriteFile("a.c", std::string("\"") + kSjisNihon + "\"\n");
  struct Seen {
    bool searchShown, searchEnabled, stopShown;
    std::string status;
  };
  std::vector<Seen> seen;
  window.ActAtReport("a.c", [&] {
    seen.push_back({window.Button(kSearchButton).IsShown(), window.Button(kSearchButton).IsEnabled(),
                    window.Button(kStopButton).IsShown(), window.Status()});
  });
  recorder.onMessage = [&](const RecordedMessage&) {
    EXPECT_TRUE(window.Button(kStopButton).IsShown()) << "busy until the outcome box is closed";
    EXPECT_EQ(window.Rows().size(), 1u) << "every row shows before the outcome";
    EXPECT_EQ(window.LogPane().find("解析終了"), std::string::npos) << "outcome line shows after the box";
  };

  window.Search(sources.Root());

  ASSERT_EQ(seen.size(), 1u);
  EXPECT_FALSE(seen[0].searchShown);
  EXPECT_FALSE(seen[0].searchEnabled);
  EXPECT_TRUE(seen[0].stopShown);
  EXPECT_EQ(seen[0].status, "解析中(SJIS-JP)...");
  EXPECT_EQ(recorder.messages, std::vector{Information("解析完了")});
  EXPECT_NE(window.LogPane().find("解析終了"), std::string::npos);
}

TEST_F(SearchTest, StopEndsTheWalkAndKeepsTheRowsFound) {
  sources.WriteFile("a/1.c", std::string("\"") + kSjisNihon + "\"\n");
  sources.WriteFile("b/2.c", std::string("\"") + kSjisNihon + "\"\n");
  sources.WriteFile("c.c", std::string("\"") + kSjisNihon + "\"\n");
  window.StopAtReport("a/1.c", [&] { window.Click(kStopButton); });

  window.Search(sources.Root());

  EXPECT_EQ(window.Rows(), (std::vector<Row>{{Padded("日本", 4), "1", "a/1.c"}}));
  EXPECT_EQ(window.Status(), "解析エラー(SJIS-JP).");
  EXPECT_EQ(recorder.messages, std::vector{Information("解析エラー")});
  EXPECT_TRUE(window.dialog.GetLogText().ends_with("\n********** 解析エラー(SJIS-JP) **********\n"));
  EXPECT_EQ(window.dialog.GetLogText().find("b/2.c"), std::string::npos);
  EXPECT_FALSE(window.Button(kStopButton).IsShown());
}

// Every command but Save works on the stores as they stand, the search
// going on; settings changed now apply from the next search.
TEST_F(SearchTest, CommandsDuringASearchActOnWhatItHasGivenSoFar) {
  sources.WriteFile("a/1.c", std::string("\"") + kSjisNihon + "\"\n");
  sources.WriteFile("b/2.c", std::string("\"") + kSjisTesuto + "\"\n");
  window.ActAtReport("a/1.c", [&] {
    window.dialog.GetSettingsDialog().values.fileExt = "h";
    window.Click(res::kClearLogButton);
  });

  window.Search(sources.Root());

  EXPECT_EQ(window.Rows().size(), 2u) << "the running search keeps its extensions";
  const std::string& log = window.dialog.GetLogText();
  EXPECT_EQ(log.find("解析開始"), std::string::npos) << "cleared during the search";
  EXPECT_TRUE(log.ends_with("********** 解析終了(SJIS-JP) **********\n"));

  window.Search(sources.Root());
  EXPECT_TRUE(window.Rows().empty()) << "the next search takes the new extensions";
}

TEST_F(SearchTest, TheNextSearchClearsTheStopAndTheList) {
  sources.WriteFile("a/1.c", std::string("\"") + kSjisNihon + "\"\n");
  sources.WriteFile("b/2.c", std::string("\"") + kSjisTesuto + "\"\n");
  TempTree other;
  other.WriteFile("z.hpp", std::string("\"") + kSjisTesuto + "\"\n");
  window.StopAtReport("a/1.c", [&] { window.Click(kStopButton); });
  window.Search(sources.Root());
  ASSERT_EQ(window.Rows().size(), 1u);
  window.dialog.SetReportObserver({});

  window.Search(other.Root());

  EXPECT_EQ(window.Rows(), (std::vector<Row>{{Padded("テスト", 6), "1", "z.hpp"}}));
  EXPECT_EQ(recorder.messages, (std::vector{Information("解析エラー"), Information("解析完了")}));
  const std::string& log = window.dialog.GetLogText();
  EXPECT_NE(log.find("=== directory:" + sources.Root() + "\n"), std::string::npos) << "the log keeps both searches";
  EXPECT_NE(log.find("=== directory:" + other.Root() + "\n"), std::string::npos);
  EXPECT_EQ(IniValue("FinderRootPath"), other.Root());
  EXPECT_EQ(window.dialog.GetRootPath(), other.Root());
}

TEST_F(SearchTest, AnUnopenableSourceEndsWithAnError) {
  sources.WriteFile("a.c", std::string("\"") + kSjisNihon + "\"\n");
  sources.MakeLink("b.c", sources.PathOf("missing.c"));

  window.Search(sources.Root());

  EXPECT_EQ(window.Rows().size(), 1u);
  EXPECT_EQ(recorder.messages, std::vector{Information("解析エラー")});
  EXPECT_NE(window.dialog.GetLogText().find("Error: failed to open the file.\n"), std::string::npos);
}

TEST_F(SearchTest, AMissingRootCompletesWithNoRow) {
  const std::string missing = sources.PathOf("nowhere");
  window.Search(missing);

  EXPECT_TRUE(window.Rows().empty());
  EXPECT_EQ(recorder.messages, std::vector{Information("解析完了")});
  EXPECT_EQ(window.dialog.GetLogText(), "********** 解析開始(SJIS-JP) **********\n"
                                        "=== directory:" + missing + "\n"
                                        "********** 解析終了(SJIS-JP) **********\n");
}

TEST_F(SearchTest, FileExtChoosesTheFilesScanned) {
  window.dialog.GetSettingsDialog().values.fileExt = ".txt;;c; h";
  sources.WriteFile("a.txt", std::string("\"") + kSjisNihon + "\"\n");
  sources.WriteFile("b.h", std::string("\"") + kSjisNihon + "\"\n");
  sources.WriteFile("c.c", std::string("\"") + kSjisNihon + "\"\n");

  window.Search(sources.Root());

  EXPECT_EQ(window.Rows(), (std::vector<Row>{{Padded("日本", 4), "1", "a.txt"}, {Padded("日本", 4), "1", "c.c"}}));
}

class RefusedSearchTest : public SearchTest {
 protected:
  // A first search leaves rows, a log and a status behind.
  void SetUp() override {
    sources.WriteFile("a.c", std::string("\"") + kSjisNihon + "\"\n");
    window.Search(sources.Root());
    ASSERT_EQ(window.Rows().size(), 1u);
    recorder.messages.clear();
    platform::WritePrivateProfileString(settingsPath, "Quillmark", "FinderRootPath", "before");
    logBefore = window.dialog.GetLogText();
  }
  std::string logBefore;
};

TEST_F(RefusedSearchTest, OnlyBlanksInTheFolderEditChangeNothing) {
  TempTree other;
  window.Search(" \t\r\n\v\f");

  EXPECT_EQ(recorder.messages, std::vector{Information("検索対象パスを入力してください")});
  EXPECT_EQ(window.Rows().size(), 1u);
  EXPECT_EQ(window.Status(), "解析完了(SJIS-JP).");
  EXPECT_EQ(window.dialog.GetLogText(), logBefore);
  EXPECT_EQ(IniValue("FinderRootPath"), "before");
  EXPECT_EQ(window.dialog.GetRootPath(), sources.Root()) << "still the root of the rows shown";
  EXPECT_TRUE(window.Button(kSearchButton).IsShown());
}

TEST_F(RefusedSearchTest, AFullWidthSpaceIsAPath) {
  window.Search("\u3000");
  EXPECT_EQ(recorder.messages, std::vector{Information("解析完了")});
  EXPECT_EQ(IniValue("FinderRootPath"), "\u3000");
}

TEST_F(RefusedSearchTest, AnUnsupportedEncodingEmptiesTheListAndReturnsToIdle) {
  window.dialog.GetSettingsDialog().values.encoding = "sjis";

  window.Search(sources.Root());

  EXPECT_EQ(recorder.messages, std::vector{Warning("エラー：エンコーディング<sjis>はサポートされていません。")});
  EXPECT_TRUE(window.Rows().empty());
  EXPECT_EQ(window.Status(), "解析完了(SJIS-JP).");
  EXPECT_EQ(window.dialog.GetLogText(), logBefore);
  EXPECT_EQ(IniValue("FinderRootPath"), "before");
  EXPECT_TRUE(window.Button(kSearchButton).IsShown());
  EXPECT_TRUE(window.Button(kSearchButton).IsEnabled());
  EXPECT_FALSE(window.Button(kStopButton).IsShown());
}

TEST_F(SearchTest, AFailedRootPathWriteIsReportedAndTheSearchGoesOn) {
  TempTree elsewhere;
  MainDialogDriver unsaved(elsewhere.PathOf("missing-folder/quillmark.ini"));
  sources.WriteFile("a.c", std::string("\"") + kSjisNihon + "\"\n");

  unsaved.Search(sources.Root());

  EXPECT_EQ(recorder.messages, (std::vector{Warning("INIファイルに書き込めませんでした"), Information("解析完了")}));
  EXPECT_EQ(unsaved.Rows().size(), 1u);
}

TEST_F(SearchTest, AQueuedSearchClickDuringASearchDoesNotNest) {
  sources.WriteFile("a/1.c", std::string("\"") + kSjisNihon + "\"\n");
  sources.WriteFile("b/2.c", std::string("\"") + kSjisNihon + "\"\n");
  window.QueueClick(kSearchButton);

  window.Search(sources.Root());

  EXPECT_EQ(window.Rows().size(), 2u);
  EXPECT_EQ(recorder.messages, std::vector{Information("解析完了")});
}

}  // namespace
}  // namespace quillmark::testing
