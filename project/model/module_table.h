// The module table of a loaded project: the forms, standard modules and
// classes its project file lists, within the limits the text reports have
// always kept (see LoadProject).
#pragma once

#include "project/model/module_kind.h"

#include <optional>
#include <string_view>
#include <vector>

namespace kolvane {

inline constexpr int kModuleCapacity = 255;
inline constexpr int kKindLength = 3;
inline constexpr int kPathFieldSize = 257;

// One source module. The kind has no terminator of its own: kind and path
// read together as one text ("frm" followed by the path).
struct ModuleEntry {
    char kind[kKindLength];
    char path[kPathFieldSize];
};

// Rows in table order, at most kModuleCapacity of them.
using ModuleTable = std::vector<ModuleEntry>;

// The row's path up to its terminator.
std::string_view ModulePath(const ModuleEntry& entry);

// The row's kind: its three bytes upper-cased through the platform and
// compared with "FRM", "BAS" and "CLS"; none for any other three bytes.
std::optional<ModuleKind> TableKind(const ModuleEntry& entry);

// A row of the kind ("frm", "bas", "cls", or any three bytes) and path; the
// path is cut to the field's size.
ModuleEntry MakeModuleEntry(std::string_view kind, std::string_view path);

}  // namespace kolvane
