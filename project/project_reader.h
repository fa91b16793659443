// Reads a Visual Basic project file (.vbp) into the ModuleTable.
#pragma once

#include "project/reporter.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kolvane {

// Rebuilds the ModuleTable from the project file: forms first, then
// standard modules, then class modules, each in file order. Module paths are
// resolved against the project's folder, made absolute first when the
// project path is relative. Failures are traced.
// 1 on success. 0 when the file cannot be opened (table untouched), or when
// a read or close fails or a limit is passed (table left empty).
std::int32_t LoadProject(std::string_view projectPath, Reporter& reporter);

// Resolves a value holding ".." against the project directory (which ends
// in a separator, or is empty) into destination: each ".." climbs one
// folder, more of them than folders stop at the root.
void ResolveParentRelative(std::string_view projectDirectory, std::string_view value, std::string& destination);

// A member's value resolved as LoadProject resolves it, without its limits:
// a value with a drive colon or a UNC value unchanged, one holding ".."
// climbing from the project's folder, any other appended to that folder.
std::string ResolveMemberPath(std::string_view projectPath, std::string_view value);

namespace project_limits {
inline constexpr int kValuesPerKind = 100;
inline constexpr int kValueLength = 254;
inline constexpr int kResolvedPathLength = 256;
}  // namespace project_limits

}  // namespace kolvane
