#include "project/module_table.h"

#include <algorithm>
#include <cstring>

namespace kolvane {

ModuleEntry ModuleTable[kModuleCapacity] = {};
std::int32_t ModuleCount = 0;

std::string_view ModulePath(const ModuleEntry& entry)
{
    const char* end = std::find(entry.path, entry.path + kPathFieldSize, '\0');
    return {entry.path, static_cast<std::size_t>(end - entry.path)};
}

void ClearModuleTable()
{
    std::memset(ModuleTable, 0, sizeof ModuleTable);
    ModuleCount = 0;
}

}  // namespace kolvane
