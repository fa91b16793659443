// The API declaration list report ("_APIOp.txt").
#pragma once

#include "project/module_table.h"

#include <cstdint>
#include <string_view>

namespace kolvane {

int WriteApiListReport(const ModuleEntry* rows, std::int32_t count, std::string_view projectPath,
                       std::string_view outputPath);

}  // namespace kolvane
