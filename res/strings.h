// The string table.
#pragma once

namespace quillmark::res {

// String 101: the system-menu item that opens the About box.
inline constexpr const char* kAboutMenuText = "Quillmarkのﾊﾞｰｼﾞｮﾝ情報(&A)...";

}  // namespace quillmark::res
