#include "analysis/run/project_run.h"

#include "project/module_table.h"
#include "project/project_reader.h"

namespace kolvane {

bool LoadProjectTable(std::string_view projectPath, Reporter& reporter)
{
    if (LoadProject(projectPath, reporter) == 1) return true;
    ClearModuleTable();
    return false;
}

RunStatus RunLoadedProject(std::string_view projectPath, std::span<const AnalysisRequest> requests,
                           Reporter& reporter, const AnalysisDone& done)
{
    if (ModuleCount == 0) return RunStatus::NoModules;
    const std::span<const ModuleEntry> rows(ModuleTable, static_cast<std::size_t>(ModuleCount));
    RunAnalyses(requests, rows, projectPath, reporter, done);
    return RunStatus::Ran;
}

}  // namespace kolvane
