// Identifiers of the dialogs, the icon, the strings and the controls.
#pragma once

namespace quillmark::res {

inline constexpr int kAboutDialog = 100;
inline constexpr int kAboutMenuString = 101;
inline constexpr int kMainDialog = 102;
inline constexpr int kProgramIcon = 128;
inline constexpr int kSettingsDialog = 129;

// The item that opens the About box from a window's system menu.
inline constexpr int kAboutMenuCommand = 0x0010;

// Main window.
inline constexpr int kFolderEdit = 1000;
inline constexpr int kBrowseButton = 1001;
inline constexpr int kLogPane = 1002;
inline constexpr int kSearchButton = 1003;
inline constexpr int kClearLogButton = 1004;
inline constexpr int kResultList = 1005;
inline constexpr int kStatusField = 1006;
inline constexpr int kSelectAllLogButton = 1007;
inline constexpr int kDumpListButton = 1008;
inline constexpr int kCloseButton = 1009;
inline constexpr int kStopButton = 1010;
inline constexpr int kSettingsButton = 1012;
inline constexpr int kAboutButton = 1013;
inline constexpr int kHiddenCancelButton = 2;

// About box.
inline constexpr int kAboutOkButton = 1;
inline constexpr int kAboutLink = 1017;

// Settings dialog.
inline constexpr int kSettingsOkButton = 1;
inline constexpr int kSettingsCancelButton = 2;
inline constexpr int kEditorPathEdit = 1011;
inline constexpr int kEditorParamEdit = 1012;
inline constexpr int kBrowseEditorButton = 1013;
inline constexpr int kFileExtEdit = 1014;
inline constexpr int kEditorTypeCombo = 1015;
inline constexpr int kEncodingCombo = 1018;
inline constexpr int kCLexerCheck = 1019;

// A label or an icon that the program never addresses.
inline constexpr int kStaticControl = -1;

}  // namespace quillmark::res
