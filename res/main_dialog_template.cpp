#include "res/main_dialog_template.h"

#include <array>

#include "res/resource_ids.h"

namespace quillmark::res {
namespace {

using enum ControlKind;

constexpr std::array kControls = {
    ControlTemplate{kCloseButton, PushButton, "閉じる", {357, 7, 61, 14}, kNoStyle},
    ControlTemplate{kHiddenCancelButton, PushButton, "ｷｬﾝｾﾙ", {345, 7, 6, 14}, kHidden | kDisabled},
    ControlTemplate{kFolderEdit, Edit, "", {17, 39, 209, 15}, kHorizontalScroll},
    ControlTemplate{kBrowseButton, PushButton, "参照...", {226, 39, 40, 15}, kNoStyle},
    ControlTemplate{kLogPane, Edit, "", {7, 292, 411, 92}, kMultiline | kHorizontalScroll | kVerticalScroll},
    ControlTemplate{kSearchButton, PushButton, "検索", {17, 61, 75, 14}, kNoStyle},
    ControlTemplate{kClearLogButton, PushButton, "ログをクリア", {358, 277, 60, 14}, kNoStyle},
    ControlTemplate{kStaticControl, Label, "検索フォルダ指定", {17, 28, 95, 10}, kNoStyle},
    ControlTemplate{kStaticControl, Label,
                    "C/C++ ソース中の日本語文字列（コメント部分を除く）を検索します。\n"
                    "指定フォルダ以下のファイルの中を調べます。",
                    {13, 7, 309, 18}, kNoStyle},
    ControlTemplate{kResultList, ListView, "", {7, 98, 411, 161},
                    kReportView | kSingleSelection | kNoSortHeader},
    ControlTemplate{kStatusField, Edit, "", {130, 61, 97, 13}, kReadOnly | kHorizontalScroll},
    ControlTemplate{kSelectAllLogButton, PushButton, "すべて選択", {285, 278, 70, 13}, kNoStyle},
    ControlTemplate{kStaticControl, Label, "ログ", {7, 279, 39, 11}, kNoStyle},
    ControlTemplate{kDumpListButton, PushButton, "現在の内容をログに出力", {316, 80, 102, 15}, kNoStyle},
    ControlTemplate{kStaticControl, Label,
                    "（ダブルクリックまたはEキーでエディター起動、Deleteボタンで削除できます）",
                    {7, 262, 392, 12}, kNoStyle},
    ControlTemplate{kSettingsButton, PushButton, "設定", {357, 29, 61, 14}, kNoStyle},
    ControlTemplate{kAboutButton, PushButton, "About", {357, 45, 61, 14}, kNoStyle},
    ControlTemplate{kStaticControl, Label, "ｽﾃｰﾀｽ", {96, 63, 31, 12}, kAlignRight},
    ControlTemplate{kStopButton, PushButton, "中止", {17, 61, 75, 14}, kHidden},
    ControlTemplate{kStaticControl, Label, "検索結果リスト", {7, 83, 129, 14}, kCenterVertically},
};

constexpr DialogTemplate kTemplate{
    kMainDialog, "Quillmark - 日本語文字列検索 for C/C++", "ＭＳ ゴシック", 9, 425, 391, kControls,
};

}  // namespace

const DialogTemplate& MainDialogTemplate() { return kTemplate; }

}  // namespace quillmark::res
