// The model of the loaded project: one fixed table of source modules.
#pragma once

#include "project/module_kind.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace kolvane {

inline constexpr int kModuleCapacity = 255;
inline constexpr int kKindLength = 3;
inline constexpr int kPathFieldSize = 257;

// One source module. The kind has no terminator of its own: kind and path
// read together as one text ("frm" followed by the path).
struct ModuleEntry {
    char kind[kKindLength];
    char path[kPathFieldSize];
    std::int32_t steps;
    std::int32_t comments;
};

// The single table of the loaded project, rows 0 to ModuleCount - 1 in use;
// every row from ModuleCount on is all zeros after a successful load.
extern ModuleEntry ModuleTable[kModuleCapacity];
extern std::int32_t ModuleCount;

// The row's path up to its terminator.
std::string_view ModulePath(const ModuleEntry& entry);

// The row's kind: its three bytes upper-cased through the platform and
// compared with "FRM", "BAS" and "CLS"; none for any other three bytes.
std::optional<ModuleKind> TableKind(const ModuleEntry& entry);

// Clears every row, counters included, and sets ModuleCount to 0.
void ClearModuleTable();

}  // namespace kolvane
