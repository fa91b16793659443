// The comparison of two versions of a project, module by module. Modules
// pair by kind and file title (any ASCII case); the k-th module of a title
// in the new project with the k-th in the old. The modules come in the new
// project's order, then those only in the old project in its order.
#pragma once

#include "analysis/diff/module_diff.h"
#include "analysis/tables/project_figures.h"
#include "analysis/writer.h"
#include "project/model/member_list.h"

#include <memory>
#include <span>
#include <string>
#include <vector>

namespace kolvane {

struct ModulePair {
    const Member* older = nullptr;  // null: a module of the new version only
    const Member* newer = nullptr;  // null: a module of the old version only
};

// The module pairs of two member lists, in report order.
std::vector<ModulePair> PairModules(std::span<const Member> older, std::span<const Member> newer,
                                   LeadByteTest isLeadByte);

struct ProjectDiff {
    std::string oldProject;  // as given
    std::string newProject;
    std::vector<ModuleDiff> modules;
};

// The figures of every row added up. The project changed when a row is
// added, changed or deleted (a module of one version counts even without
// steps) or a module's designer changed.
ChangeFigures SummarizeChanges(const ProjectDiff& diff);

// The change counts as text (<new title>_Diff.txt), CSV (_Diff.csv) and JSON
// (_Diff.json). Each compares a module pair and makes its part of the
// output when the pair is prepared (on any thread), keeps the parts (not the
// rows), and writes the output at Finish. Without a
// new project (an empty projectPath) the report is named after the old one.
std::unique_ptr<Writer> MakeDiffText(const OutputContext& context);
std::unique_ptr<Writer> MakeDiffCsv(const OutputContext& context);
std::unique_ptr<Writer> MakeDiffJson(const OutputContext& context);

}  // namespace kolvane
