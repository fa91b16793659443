#include "cli/run_diff.h"

#include "analysis/run/session.h"
#include "cli/outcomes.h"

#include <algorithm>

namespace kolvane::cli {

int RunDiffCommand(const Options& options)
{
    RunChoice choice;
    choice.format = options.format;
    choice.codePage = options.codePage.value_or(DefaultCodePage());
    choice.folder = options.outputFolder;
    const std::string& oldProject = options.projects[0];
    const std::string& newProject = options.projects[1];

    CliReporter reporter(newProject, options.verbose);
    int status = kExitSuccess;
    const ComparisonRun run = RunComparison(oldProject, newProject, choice, reporter, [&](const OutputDone& done) {
        if (!done.written) {
            status = std::max(status, Tell(Outcome::OutputFailed, reporter));
        } else if (!NameFiles(done.files)) {
            status = std::max(status, Tell(Outcome::NamingFailed, reporter));
        }
    });
    if (!run.failedProject.empty()) {
        CliReporter failed(run.failedProject, options.verbose);
        return Tell(run.status == ProjectStatus::NotFound ? Outcome::ProjectNotFound : Outcome::ProjectUnreadable,
                    failed);
    }
    return status;
}

}  // namespace kolvane::cli
