// What both front ends do with a project: load it into the module table,
// check that it has modules, run the analyses and tell the outcome. The
// front ends only show the outcomes, with the texts below.
#pragma once

#include "analysis/run/analyses.h"
#include "project/reporter.h"

#include <span>
#include <string_view>

namespace kolvane {

namespace run_text {
inline constexpr std::string_view kLoadFailed = "VBPファイル読みこみエラー";
inline constexpr std::string_view kLoadFailedCaption = "ありゃりゃ";
inline constexpr std::string_view kNoProject = "プロジェクトファイルが指定されていません";
inline constexpr std::string_view kNoProjectCaption = "ん？";
inline constexpr std::string_view kFinished = "処理が終了しました";
inline constexpr std::string_view kFinishedCaption = "やったあ";
inline constexpr std::string_view kFailedCaption = "エラー";  // with the analysis' failure text
}  // namespace run_text

// Rebuilds the module table from the project file. False when it could not
// be read whole; the table is empty then, so no run acts on an earlier one.
bool LoadProjectTable(std::string_view projectPath, Reporter& reporter);

enum class RunStatus { Ran, NoModules };

// Runs the analyses on the loaded table (see RunAnalyses); NoModules, with
// nothing run, when the table is empty.
RunStatus RunLoadedProject(std::string_view projectPath, std::span<const AnalysisRequest> requests,
                           Reporter& reporter, const AnalysisDone& done);

}  // namespace kolvane
