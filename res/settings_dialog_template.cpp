#include "res/settings_dialog_template.h"

#include <array>

#include "platform/code_page.h"
#include "res/resource_ids.h"

namespace quillmark::res {
namespace {

using enum ControlKind;

// The Encoding settings, as their table names them.
constexpr std::array<const char*, 4> kEncodingItems = {
    platform::kEncodingNames[0].setting.data(), platform::kEncodingNames[1].setting.data(),
    platform::kEncodingNames[2].setting.data(), platform::kEncodingNames[3].setting.data()};

constexpr unsigned kComboStyle = kDropDownList | kVerticalScroll;

constexpr std::array kControls = {
    ControlTemplate{kSettingsOkButton, PushButton, "OK", {226, 136, 50, 14}, kDefaultButton},
    ControlTemplate{kSettingsCancelButton, PushButton, "ｷｬﾝｾﾙ", {289, 136, 50, 14}, kNoStyle},
    ControlTemplate{kEditorPathEdit, Edit, "", {89, 7, 214, 14}, kHorizontalScroll},
    ControlTemplate{kStaticControl, Label, "ｴﾃﾞｨﾀｰへのﾊﾟｽ", {7, 7, 58, 16}, kCenterVertically},
    ControlTemplate{kBrowseEditorButton, PushButton, "参照...", {304, 7, 35, 14}, kNoStyle},
    ControlTemplate{kEditorParamEdit, Edit, "", {219, 25, 91, 14}, kHorizontalScroll},
    ControlTemplate{kStaticControl, Label, "ｴﾃﾞｨﾀｰ起動ﾊﾟﾗﾒｰﾀ", {7, 26, 77, 16}, kCenterVertically},
    ControlTemplate{kStaticControl, Label, "%L :行番号  %F :ファイルパス", {216, 44, 123, 11}, kNoStyle},
    ControlTemplate{kEditorTypeCombo, ComboBox, "", {107, 26, 109, 166}, kComboStyle},
    ControlTemplate{kStaticControl, Label, "ﾀｲﾌﾟ", {84, 29, 21, 10}, kAlignRight},
    ControlTemplate{kFileExtEdit, Edit, "", {89, 55, 119, 14}, kHorizontalScroll},
    ControlTemplate{kStaticControl, Label, "検索対象ﾌｧｲﾙ拡張子", {7, 56, 79, 16}, kCenterVertically},
    ControlTemplate{kStaticControl, Label, "; で区切ってください。　例： cpp;hpp;c;h", {94, 71, 233, 11}, kNoStyle},
    ControlTemplate{kEncodingCombo, ComboBox, "", {89, 90, 59, 138}, kComboStyle, kEncodingItems},
    ControlTemplate{kStaticControl, Label, "ｴﾝｺｰﾃﾞｨﾝｸﾞ", {7, 89, 79, 16}, kCenterVertically},
    ControlTemplate{kCLexerCheck, CheckBox, "C/C++の字句規則で読む", {89, 113, 120, 13}, kNoStyle},
};

constexpr DialogTemplate kTemplate{
    kSettingsDialog, "設定", "ＭＳ ゴシック", 9, 346, 157, kControls,
};

}  // namespace

const DialogTemplate& SettingsDialogTemplate() { return kTemplate; }

}  // namespace quillmark::res
