// The procedure list report ("_FncOp.txt"): per module its Sub and Function
// declarations, then its property declarations.
#pragma once

#include "project/module_table.h"

#include <cstdint>
#include <string_view>

namespace kolvane {

int WriteProcedureListReport(const ModuleEntry* rows, std::int32_t count, std::string_view projectPath,
                             std::string_view outputPath);

}  // namespace kolvane
