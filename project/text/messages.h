// The message texts and captions of the core, each defined once: the boxes
// of the report writers, the outcomes of a run and the search for projects. Narrow literals are
// compiled to Shift_JIS; the window shows them as they are, the command line
// converts them for the terminal.
#pragma once

namespace kolvane::message {

// Captions.
inline constexpr char kOutputCaption[] = "出力処理 - エラー";
inline constexpr char kErrorCaption[] = "エラー";
inline constexpr char kOopsCaption[] = "ありゃりゃ";
inline constexpr char kFinishedCaption[] = "やったあ";
inline constexpr char kNoProjectCaption[] = "ん？";

// The report writers.
inline constexpr char kCannotOpen[] = "ファイルを開けませんでした";
inline constexpr char kCannotWrite[] = "ファイルに書き込むことが出来ませんでした";
inline constexpr char kUnexpected[] = "あれっ、こんなところでエラーは出ないはずだけど…";
inline constexpr char kMemoryError[] = "Memory Allocation Error";

// The outcomes of a run.
inline constexpr char kLoadFailed[] = "VBPファイル読みこみエラー";
inline constexpr char kNoProject[] = "プロジェクトファイルが指定されていません";
inline constexpr char kFinished[] = "処理が終了しました";
inline constexpr char kProjectNotFound[] = "プロジェクトファイルが見つかりません";
inline constexpr char kCannotCreate[] = "ファイルを作成できません: ";  // and the path
inline constexpr char kCannotWriteFile[] = "ファイル書き込みエラー: ";  // and the path
inline constexpr char kMemberMissing[] = "ファイルが見つかりません";  // then the member
inline constexpr char kMemberUnreadable[] = "ファイルを読み込めません";  // then the member
inline constexpr char kSummaryFailed[] = "サマリーファイルを書き込めません";
inline constexpr char kFolderUnreadable[] = "フォルダを読めません: ";  // and the folder
inline constexpr char kDiffKindsDiffer[] =
    "旧と新は、両方ともプロジェクトファイル (.vbp)、両方ともグループファイル (.vbg)、または両方ともフォルダで指定してください";

// The command line's usage errors (ASCII, the same in every code page).
inline constexpr char kInventoryAsText[] =
    "option '--inventory' writes tables only: use it with --format csv or --format json";

// The project line shared by every report's banner.
inline constexpr char kProjectLineFormat[] = "プロジェクトファイル ： %s\n\n\n";

}  // namespace kolvane::message
