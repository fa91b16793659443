#include "cli/run_diff.h"

#include "analysis/diff/diff_run.h"
#include "analysis/reports/report_texts.h"
#include "cli/run_projects.h"

#include <cstdio>
#include <string>

namespace kolvane::cli {
namespace {

constexpr std::string_view kProgram = "kolvane-cli: ";
constexpr std::string_view kNotFound = ": project file not found\n";
constexpr std::string_view kUnreadable = ": project file cannot be read\n";

// "kolvane-cli: OLD.vbp: project file not found"; the path is as given.
void PrintProjectFailure(std::string_view project, ProjectStatus status)
{
    std::string line(kProgram);
    line.append(project).append(status == ProjectStatus::NotFound ? kNotFound : kUnreadable);
    std::fwrite(line.data(), 1, line.size(), stderr);
}

}  // namespace

int RunDiffCommand(const Options& options, Reporter& reporter)
{
    DiffRequest request;
    request.oldProject = options.projects[0];
    request.newProject = options.projects[1];
    request.outputFolder = options.outputFolder;
    request.format = options.format;
    request.codePage = options.codePage.value_or(DefaultCodePage());
    const DiffResult result = kolvane::RunDiff(request);
    switch (result.outcome) {
    case DiffOutcome::OldProjectFailed:
        PrintProjectFailure(request.oldProject, result.projectStatus);
        return kExitUsage;
    case DiffOutcome::NewProjectFailed:
        PrintProjectFailure(request.newProject, result.projectStatus);
        return kExitUsage;
    case DiffOutcome::CannotWrite:
        reporter.Message(report_text::kCannotWrite, report_text::kOutputCaption);
        return kExitAnalysisFailed;
    case DiffOutcome::Written: break;
    }
    const std::string line = result.reportPath + "\n";
    return std::fwrite(line.data(), 1, line.size(), stdout) == line.size() ? kExitSuccess : kExitAnalysisFailed;
}

}  // namespace kolvane::cli
