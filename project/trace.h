// Trace lines: progress notes and low-level file failures of the reader and
// the counters. They go to a sink that defaults to standard output.
#pragma once

#include <functional>
#include <string_view>

namespace kolvane {

// Receives one whole trace line, its newline included.
using TraceSink = std::function<void(std::string_view line)>;

// Installs a sink and returns the previous one; an empty sink restores
// standard output.
TraceSink SetTraceSink(TraceSink sink);

// Writes "  TEXT\n".
void Trace(std::string_view text);
// Writes "TEXT\n" (the missing-file note).
void TraceBare(std::string_view text);

namespace trace_text {
inline constexpr std::string_view kOpenError = "ファイルオープンエラー";
inline constexpr std::string_view kCloseError = "ファイルクローズエラー";
inline constexpr std::string_view kOpened = "ファイルを開きました";
inline constexpr std::string_view kClosed = "ファイルを閉じました";
inline constexpr std::string_view kNotFound = "ファイルが存在しません";
}  // namespace trace_text

}  // namespace kolvane
