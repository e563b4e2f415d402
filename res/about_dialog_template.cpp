#include "res/about_dialog_template.h"

#include <array>

#include "res/resource_ids.h"

namespace quillmark::res {
namespace {

using enum ControlKind;

constexpr std::array kControls = {
    ControlTemplate{kStaticControl, Icon, "", {11, 17, 20, 20}, kNoStyle},
    ControlTemplate{kStaticControl, Label, "Quillmark - 日本語文字列検索 for C/C++ Version 0.5.0", {39, 7, 213, 12},
                    kNoPrefix},
    ControlTemplate{kStaticControl, Label, "Quillmark 開発チーム", {50, 27, 119, 8}, kNoStyle},
    ControlTemplate{kAboutOkButton, PushButton, "OK", {119, 94, 50, 14}, kDefaultButton},
    ControlTemplate{kStaticControl, Label, "連絡先: QM開発 qm@example.org", {50, 55, 119, 8}, kNoStyle},
    ControlTemplate{kAboutLink, Label, "https://quillmark.example.org/", {133, 69, 133, 10}, kNotify | kNoTabStop},
    ControlTemplate{kStaticControl, Label, "ホームページ", {43, 69, 82, 10}, kAlignRight},
};

constexpr DialogTemplate kTemplate{
    kAboutDialog, "Quillmarkについて", "ＭＳ Ｐゴシック", 9, 290, 115, kControls,
};

}  // namespace

const DialogTemplate& AboutDialogTemplate() { return kTemplate; }

}  // namespace quillmark::res
