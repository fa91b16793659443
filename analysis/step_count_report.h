// The step count run and its report ("_StCnt.txt").
#pragma once

#include "project/module_table.h"

#include <cstdint>
#include <string_view>

namespace kolvane {

// Counts every module with the counter of its kind, keeps each module's
// counts in its row, then writes the report. 1 when the report was written
// whole; 0 on any failure, already shown in a message box.
int RunStepCount(ModuleEntry* table, std::int32_t count, std::string_view projectPath, std::string_view reportPath);

}  // namespace kolvane
