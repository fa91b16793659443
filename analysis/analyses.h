// The three analyses a front end can run, with the suffix of their report,
// their report writer and the text shown when it fails.
#pragma once

#include "project/module_table.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kolvane {

enum class AnalysisKind { StepCount, ProcedureList, ApiList };

// rows, count, project path, report path; 1 when the report was written whole.
using ReportWriter = int (*)(ModuleEntry* rows, std::int32_t count, std::string_view projectPath,
                             std::string_view reportPath);

struct Analysis {
    AnalysisKind kind;
    std::string_view suffix;
    ReportWriter writer;
    std::string_view failureText;  // shown with the caption "エラー"
};

const Analysis& AnalysisFor(AnalysisKind kind);

// The report's file name for a project: the project file's name without its
// folder, less its last four characters when it is longer than four, then
// the suffix ("Demo.vbp" -> "Demo_StCnt.txt").
std::string ReportFileName(std::string_view projectPath, const Analysis& analysis);

}  // namespace kolvane
