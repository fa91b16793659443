#include "cli/run_projects.h"

#include "analysis/run/output_folders.h"
#include "analysis/run/session.h"
#include "analysis/tables/member_output.h"
#include "analysis/tables/summary_writer.h"
#include "cli/outcomes.h"
#include "project/model/project_search.h"
#include "project/text/messages.h"
#include "project/text/path_text.h"

#include <algorithm>

namespace kolvane::cli {
namespace {

// The projects the arguments stand for. A folder under an argument that
// cannot be searched, and a folder or group that stands for no project, are
// said and make the status 2; the projects found still run.
std::vector<ListedProject> ProjectsOf(const Options& options, int& status)
{
    std::vector<ListedProject> projects;
    for (const std::string& argument : options.projects) {
        CliReporter reporter(argument, options.verbose);
        const std::size_t before = projects.size();
        if (!AddProjectsOf(argument, projects, reporter)) {
            status = std::max(status, kExitUsage);
        } else if (projects.size() == before) {
            status = std::max(status, Tell(Outcome::ProjectNotFound, reporter));
        }
    }
    return projects;
}

RunChoice ChoiceOf(const Options& options)
{
    RunChoice choice;
    choice.analyses = options.analyses;
    choice.format = options.format;
    choice.codePage = options.codePage.value_or(DefaultCodePage());
    choice.folder = options.outputFolder;
    choice.summary = !options.summaryFile.empty();
    return choice;
}

// The status of one project: loads it, runs the outputs, names what they wrote.
int RunProject(const std::string& project, const RunChoice& choice, CliReporter& reporter, ProjectFigures& figures)
{
    int status = kExitSuccess;
    bool membersTaken = false;
    const ProjectRun run = RunProject(project, choice, reporter, [&](const OutputDone& done) {
        membersTaken = membersTaken || done.source == ModuleSource::Members;
        if (!done.written) {
            status = std::max(status, done.source == ModuleSource::Table
                                          ? Tell(Outcome::TextReportFailed, reporter, done.row->failureText)
                                          : Tell(Outcome::OutputFailed, reporter));
        } else if (!NameFiles(done.files)) {
            status = std::max(status, Tell(Outcome::NamingFailed, reporter));
        }
    });
    figures = run.figures;
    if (run.status != ProjectStatus::Ok) {
        return Tell(run.status == ProjectStatus::NotFound ? Outcome::ProjectNotFound : Outcome::ProjectUnreadable,
                    reporter);
    }
    if (run.tableFailure != LoadFailure::None) {
        status = std::max(status, Tell(Outcome::TableRefused, reporter, LimitText(run.tableFailure)));
    } else if (run.tableEmpty) {
        status = std::max(status, Tell(Outcome::TableEmpty, reporter));
    }
    if (membersTaken) status = std::max(status, TellFailedMembers(run.failedMembers, reporter.Verbose()));
    return status;
}

}  // namespace

int RunProjects(const Options& options)
{
    const RunChoice choice = ChoiceOf(options);
    SummaryWriter summary;
    CliReporter summaryReporter(options.summaryFile, options.verbose);
    if (choice.summary && !summary.Open(options.summaryFile)) {
        summaryReporter.Say(message::kSummaryFailed);
        return kExitUsage;
    }

    int status = kExitSuccess;
    const std::vector<ListedProject> projects = ProjectsOf(options, status);
    std::vector<const ListedProject*> listed;
    for (const ListedProject& project : projects) listed.push_back(&project);
    std::vector<std::string> subfolders = OutputSubfolders(listed);
    SeparateByPathsAsFound(listed, subfolders);
    for (std::size_t i = 0; i < projects.size(); ++i) {
        const std::string& project = projects[i].path;
        RunChoice placed = choice;
        if (!subfolders[i].empty()) {  // another project's outputs have the same names
            placed.folder = PathInFolder(choice.folder, subfolders[i]);
            placed.makeFolder = true;
        }
        CliReporter reporter(project, options.verbose);
        ProjectFigures figures;
        status = std::max(status, RunProject(project, placed, reporter, figures));
        if (choice.summary) summary.Row(PathToUtf8(project), figures);
    }
    if (choice.summary) {
        if (summary.Close() && NameFiles(std::vector<std::string>{options.summaryFile})) return status;
        summaryReporter.Say(message::kSummaryFailed);
        status = std::max(status, kExitFailed);
    }
    return status;
}

}  // namespace kolvane::cli
