#include "project/module_table.h"

#include <cstring>

namespace kolvane {

ModuleEntry ModuleTable[kModuleCapacity] = {};
std::int32_t ModuleCount = 0;

void ClearModuleTable()
{
    std::memset(ModuleTable, 0, sizeof ModuleTable);
    ModuleCount = 0;
}

}  // namespace kolvane
