// Reads a Visual Basic project file (.vbp) into the ModuleTable.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kolvane {

// Rebuilds the ModuleTable from the project file: forms first, then
// standard modules, then class modules, each in file order.
// 1 on success. 0 when the file cannot be opened (table untouched), or when
// a read or close fails or a limit is passed (table left empty).
std::int32_t LoadProject(std::string_view projectPath);

// Resolves a value holding ".." against the project directory (which ends
// in a separator, or is empty) into destination.
void ResolveParentRelative(std::string_view projectDirectory, std::string_view value, std::string& destination);

// The path of a member's value as the module table resolves it: kept when
// it holds a drive or is a UNC path, otherwise taken against the project's
// folder (".." steps going up).
std::string ResolveMemberPath(std::string_view projectPath, std::string_view value);

namespace project_limits {
inline constexpr int kValuesPerKind = 100;
inline constexpr int kValueLength = 254;
inline constexpr int kResolvedPathLength = 256;
}  // namespace project_limits

}  // namespace kolvane
