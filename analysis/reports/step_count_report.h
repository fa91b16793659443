// The step count run and its report ("_StCnt.txt").
#pragma once

#include "analysis/writer.h"
#include "analysis/source/step_counter.h"
#include "project/model/module_table.h"
#include "project/text/reporter.h"

#include <memory>
#include <span>
#include <string_view>

namespace kolvane {

// Counts every module with the rules of its kind, then writes the report.
// A module that is missing or cannot be opened, read or closed is traced and
// fails the run with "処理に失敗しました"; no report is written then.
std::unique_ptr<Writer> MakeStepCount(std::string_view projectPath, std::string_view reportPath);

// Writes the banner, one block per row with its figures, and the table of
// totals. True when the whole report reached the file, its final flush
// included; false otherwise, already reported.
bool WriteStepCountReport(std::span<const ModuleEntry> rows, std::span<const Figures> figures,
                          const KindCounts& totals, std::string_view projectPath, std::string_view reportPath,
                          Reporter& reporter);

}  // namespace kolvane
