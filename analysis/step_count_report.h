// The step count run and its report ("_StCnt.txt").
#pragma once

#include "analysis/step_counter.h"
#include "project/module_table.h"

#include <cstdint>
#include <string_view>

namespace kolvane {

// Counts every module with the counter of its kind, keeps each module's
// counts in its row, then writes the report. 1 when the report was written
// whole; 0 on any failure, already shown in a message box.
int RunStepCount(ModuleEntry* table, std::int32_t count, std::string_view projectPath, std::string_view reportPath);

// Writes the banner, one block per row from the row's counts, and the table
// of totals. 1 when the whole report reached the file, its final flush
// included; 0 otherwise, already shown in a message box.
int WriteStepCountReport(const ModuleEntry* table, std::int32_t count, const KindCounts& totals,
                         std::string_view projectPath, std::string_view reportPath);

}  // namespace kolvane
