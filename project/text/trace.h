// Trace lines: progress notes and low-level file failures of the project
// reader and the step counter, sent through the run's Reporter.
#pragma once

#include "project/text/reporter.h"

#include <string_view>

namespace kolvane {

// Reports "  TEXT\n".
void Trace(Reporter& reporter, std::string_view text);
// Reports "TEXT\n" (the missing-file note).
void TraceBare(Reporter& reporter, std::string_view text);

namespace trace_text {
inline constexpr std::string_view kOpenError = "ファイルオープンエラー";
inline constexpr std::string_view kCloseError = "ファイルクローズエラー";
inline constexpr std::string_view kReadError = "ファイル読み込みエラー";
inline constexpr std::string_view kOpened = "ファイルを開きました";
inline constexpr std::string_view kClosed = "ファイルを閉じました";
inline constexpr std::string_view kNotFound = "ファイルが存在しません";
}  // namespace trace_text

}  // namespace kolvane
