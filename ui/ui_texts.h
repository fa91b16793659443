// The fixed texts of the Windows program: names, captions, control texts
// and message boxes. Narrow literals are compiled to Shift_JIS.
#pragma once

#include "project/text/messages.h"

namespace kolvane::ui::text {

// The window class and title that identify a running copy.
inline constexpr const char* kClassName = "KOLVANE";
inline constexpr const char* kWindowTitle = "Kolvane";

// Resources.
inline constexpr const char* kIconName = "IDI_KOLVANE_ICON";
inline constexpr const char* kMenuName = "KOLVANE_MENU";
inline constexpr const char* kAcceleratorName = "KOLVANE_ACCELERATOR";
inline constexpr const char* kVersionDialogName = "VERSIONDLG";

// Controls.
inline constexpr const char* kControlFontFace = "ＭＳ Ｐゴシック";
inline constexpr const char* kPathLabel = "ファイルパス：";
inline constexpr const char* kAnalysisGroup = "解析種類";
inline constexpr const char* kStepCountRadio = "コード数解析";
inline constexpr const char* kProcedureListRadio = "関数解析";
inline constexpr const char* kApiListRadio = "API関数解析";
inline constexpr const char* kRunButton = "実  行";
inline constexpr const char* kExitButton = "終  了";
inline constexpr const char* kFileNameColumn = "ファイル名前";
inline constexpr const char* kKindColumn = "拡張子";

// Captions (the core's, and the window's own).
inline constexpr const char* kOopsCaption = message::kOopsCaption;
inline constexpr const char* kErrorCaption = message::kErrorCaption;
inline constexpr const char* kDropCaption = "ファイルドラッグ - エラー";

// Creation failures of the main window's controls.
inline constexpr const char* kListViewFailed = "リストビュー作成エラー";
inline constexpr const char* kLabelFailed = "ラベルコントロール作成失敗";
inline constexpr const char* kGroupFailed = "フレームコントロール作成失敗";
inline constexpr const char* kRadio1Failed = "ラジオボタンコントロール１作成失敗";
inline constexpr const char* kRadio2Failed = "ラジオボタンコントロール２作成失敗";
inline constexpr const char* kRadio3Failed = "ラジオボタンコントロール３作成失敗";
inline constexpr const char* kRunButtonFailed = "コマンドボタンコントロール１作成失敗";
inline constexpr const char* kExitButtonFailed = "コマンドボタンコントロール２作成失敗";
inline constexpr const char* kFontFailed = "フォント作成失敗";
inline constexpr const char* kItemCountFailed = "アイテム数取得エラー";

// Commands.
inline constexpr const char* kNotAProject = "VB プロジェクトファイルではありません";
inline constexpr const char* kChosenFilePrefix = "ﾌｧｲﾙ名 ： ";
inline constexpr const char* kOpenTitle = "VB プロジェクトファイルを開く";
inline constexpr const char* kOpenDefaultExtension = "vbp";
// Description and pattern, each ending in a zero, and the closing zero.
inline constexpr char kOpenFilter[] = "VB Project File (*.vbp)\0*.vbp\0";
inline constexpr const char* kProjectExtension = ".VBP";
inline constexpr const char* kHelpFile = "Kolvane.hlp";
inline constexpr const char* kMemoryError = message::kMemoryError;
inline constexpr const char* kUnexpectedError = "予期しないエラーが発生しました";

// The HTML Help file beside Kolvane.exe, and the viewer's library and entry.
inline constexpr const char* kHtmlHelpFile = "Kolvane.chm";
inline constexpr const char* kHtmlHelpLibrary = "hhctrl.ocx";
inline constexpr const char* kHtmlHelpEntry = "HtmlHelpA";

}  // namespace kolvane::ui::text
