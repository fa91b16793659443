// The three analyses a front end can run and the one run they share: every
// module of the table read once for all the analyses asked for, each
// analysis reporting as if it had run alone.
#pragma once

#include "analysis/source/module_analysis.h"
#include "project/module_table.h"
#include "project/reporter.h"

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace kolvane {

enum class AnalysisKind { StepCount, ProcedureList, ApiList };

struct Analysis {
    AnalysisKind kind;
    std::string_view suffix;
    std::string_view failureText;  // what a front end shows, with the caption "エラー", when it fails
    std::unique_ptr<ModuleAnalysis> (*make)(std::string_view projectPath, std::string_view reportPath);
};

const Analysis& AnalysisFor(AnalysisKind kind);

// The report's file name for a project: the project file's name without its
// folder, less its last four characters when it is longer than four, then
// the suffix ("Demo.vbp" -> "Demo_StCnt.txt").
std::string ReportFileName(std::string_view projectPath, const Analysis& analysis);

struct AnalysisRequest {
    AnalysisKind kind;
    std::string reportPath;
};

// Called once per analysis, in the order asked, after all its messages and
// trace lines have been reported; written is true when its report was
// written whole.
using AnalysisDone = std::function<void(const Analysis& analysis, bool written)>;

// Runs the analyses over the rows, reading each module's source once for
// all of them; an analysis stops at its first failure, the others go on. A
// failed allocation fails the analysis it hit with "Memory Allocation Error".
void RunAnalyses(std::span<const AnalysisRequest> requests, std::span<const ModuleEntry> rows,
                 std::string_view projectPath, Reporter& reporter, const AnalysisDone& done);

}  // namespace kolvane
