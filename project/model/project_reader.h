// Reads a Visual Basic project file (.vbp) into a module table.
#pragma once

#include "project/model/module_table.h"
#include "project/text/reporter.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kolvane {

// Why a project file could not be loaded into a module table.
enum class LoadFailure {
    None,
    CannotOpen,
    CannotRead,
    CannotClose,
    TooManyOfAKind,  // more than 100 Form=, Module= or Class= lines of one kind
    TooManyModules,  // more than 255 modules in all
    ValueTooLong,    // a value of more than 254 bytes
    PathTooLong,     // a resolved path of more than 256 bytes
};

struct ProjectLoad {
    LoadFailure failure = LoadFailure::None;
    ModuleTable table;  // empty unless loaded

    bool Loaded() const { return failure == LoadFailure::None; }
};

// Reads the project file into a module table: forms first, then standard
// modules, then class modules, each in file order. Module paths are resolved
// against the project's folder, made absolute first when the project path is
// relative. Failures are traced.
ProjectLoad LoadProject(std::string_view projectPath, Reporter& reporter);

// The text of a limit that refused a project ("モジュールが多すぎます (255個まで)"),
// as the trace gives it; empty for a failure that is not a limit.
std::string_view LimitText(LoadFailure failure);

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
