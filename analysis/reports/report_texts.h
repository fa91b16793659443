// Message texts and captions shared by the report writers.
#pragma once

#include <string_view>

namespace kolvane::report_text {

inline constexpr std::string_view kOutputCaption = "出力処理 - エラー";
inline constexpr std::string_view kCannotOpen = "ファイルを開けませんでした";
inline constexpr std::string_view kCannotWrite = "ファイルに書き込むことが出来ませんでした";
inline constexpr std::string_view kUnexpected = "あれっ、こんなところでエラーは出ないはずだけど…";
inline constexpr std::string_view kErrorCaption = "エラー";
inline constexpr std::string_view kModuleCaption = "ありゃりゃ";

// The project line shared by every report's banner.
inline constexpr const char* kProjectLineFormat = "プロジェクトファイル ： %s\n\n\n";

}  // namespace kolvane::report_text
