// The comparison of two versions of a project, module by module. Modules
// pair by kind and file title (any ASCII case); the k-th module of a title
// in the new project with the k-th in the old. The modules come in the new
// project's order, then those only in the old project in its order.
#pragma once

#include "analysis/diff/module_diff.h"
#include "project/member_list.h"

#include <span>
#include <string>
#include <vector>

namespace kolvane {

struct ProjectDiff {
    std::string oldProject;  // as given
    std::string newProject;
    std::vector<ModuleDiff> modules;
};

// Reads the members of both versions and compares them pair by pair, the
// pairs on every core at once; the modules come in report order whatever
// the number of threads.
ProjectDiff DiffProjects(std::string oldProject, std::span<const Member> older, std::string newProject,
                         std::span<const Member> newer, LeadByteTest isLeadByte);

}  // namespace kolvane
