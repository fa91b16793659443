#include "cli/run_projects.h"

#include "analysis/run/project_run.h"
#include "project/path_text.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace kolvane::cli {
namespace {

bool NameOnStandardOutput(std::string_view path)
{
    std::string line(path);
    line.push_back('\n');
    return std::fwrite(line.data(), 1, line.size(), stdout) == line.size() && std::fflush(stdout) == 0;
}

// The status of one project: loads it, then writes every chosen report.
int RunProject(const Options& options, const std::string& project, Reporter& reporter)
{
    if (!LoadProjectTable(project, reporter)) {
        reporter.Message(run_text::kLoadFailed, run_text::kLoadFailedCaption);
        return kExitUsage;
    }

    std::vector<AnalysisRequest> requests;
    for (const AnalysisKind kind : options.analyses) {
        requests.push_back({kind, PathInFolder(options.outputFolder, ReportFileName(project, AnalysisFor(kind)))});
    }
    int status = kExitSuccess;
    const RunStatus run = RunLoadedProject(project, requests, reporter, [&](const Analysis& analysis, bool written) {
        const std::string reportPath =
            PathInFolder(options.outputFolder, ReportFileName(project, analysis));
        if (!written) {
            reporter.Message(analysis.failureText, run_text::kFailedCaption);
            status = kExitAnalysisFailed;
        } else if (!NameOnStandardOutput(reportPath)) {
            status = kExitAnalysisFailed;
        }
    });
    if (run == RunStatus::NoModules) {
        reporter.Message(run_text::kNoProject, run_text::kNoProjectCaption);
        return kExitUsage;
    }
    return status;
}

}  // namespace

int RunProjects(const Options& options, Reporter& reporter)
{
    int status = kExitSuccess;
    for (const std::string& project : options.projects) {
        status = std::max(status, RunProject(options, project, reporter));
    }
    return status;
}

}  // namespace kolvane::cli
