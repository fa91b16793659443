// What a run adds up of a project for its summary row.
#pragma once

#include "analysis/diff/change_counts.h"
#include "project/model/member_list.h"
#include "project/model/module_kind.h"

#include <array>
#include <cstdint>
#include <optional>

namespace kolvane {

// What a comparison of two versions adds up: the figures of all its rows,
// the modules whose designer changed, and whether anything changed.
struct ChangeFigures {
    ChangeCounts counts;
    std::int64_t designerChangedModules = 0;
    bool changed = false;
};

struct ProjectFigures {
    ProjectStatus status = ProjectStatus::Ok;
    std::int64_t modules = 0;
    std::array<std::int64_t, kModuleKindCount> kindModules{};
    std::int64_t steps = 0;  // of the members read
    std::int64_t comments = 0;
    std::int64_t procedures = 0;
    std::int64_t apis = 0;
    std::optional<std::int64_t> liveSteps;  // when unused code was looked for
    std::optional<std::int64_t> deadSteps;
    std::optional<ChangeFigures> changes;  // in a comparison of two versions
};

}  // namespace kolvane
