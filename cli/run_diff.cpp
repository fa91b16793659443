#include "cli/run_diff.h"

#include "analysis/diff/release_pairs.h"
#include "analysis/diff/release_summary.h"
#include "analysis/run/session.h"
#include "analysis/tables/member_output.h"
#include "cli/outcomes.h"
#include "project/model/project_search.h"
#include "project/text/messages.h"
#include "project/text/path_text.h"
#include "project/text/source_file.h"

#include <algorithm>
#include <array>
#include <utility>

namespace kolvane::cli {
namespace {

// The projects of OLD and NEW, and their pairs (which point into them).
struct Release {
    Release() = default;
    Release(const Release&) = delete;
    Release& operator=(const Release&) = delete;

    std::vector<ListedProject> older;
    std::vector<ListedProject> newer;
    std::vector<ReleasePair> pairs;
};

// Pairs the projects of the two arguments: two project files are one pair,
// two folders or two groups pair the projects they stand for. Gives the
// exit status of a failure (said), or success.
int PairArguments(const Options& options, Release& release)
{
    const std::string& oldArgument = options.projects[0];
    const std::string& newArgument = options.projects[1];
    const ArgumentKind kind = KindOfArgument(oldArgument);
    if (KindOfArgument(newArgument) != kind) {
        // An argument that names nothing is the fault; else the mix of kinds.
        for (const std::string* argument : {&oldArgument, &newArgument}) {
            if (FileExists(*argument)) continue;
            CliReporter reporter(*argument, options.verbose);
            return Tell(Outcome::ProjectNotFound, reporter);
        }
        CliReporter reporter(newArgument, options.verbose);
        return Tell(Outcome::DiffKindsDiffer, reporter);
    }
    if (kind == ArgumentKind::Project) {
        release.older = {{oldArgument, oldArgument}};
        release.newer = {{newArgument, newArgument}};
        release.pairs = {{&release.older.front(), &release.newer.front(), {}}};
        return kExitSuccess;
    }
    for (const auto& [argument, projects] : {std::pair{&oldArgument, &release.older}, {&newArgument, &release.newer}}) {
        CliReporter reporter(*argument, options.verbose);
        const ProjectStatus status = ListProjectsOf(*argument, *projects, reporter);
        if (status == ProjectStatus::Ok) continue;
        if (kind == ArgumentKind::Folder) return kExitUsage;  // the folder that could not be read is said
        return Tell(status == ProjectStatus::NotFound ? Outcome::ProjectNotFound : Outcome::ProjectUnreadable,
                    reporter);
    }
    if (release.older.empty() && release.newer.empty()) {  // nothing to compare
        for (const std::string* argument : {&oldArgument, &newArgument}) {
            CliReporter reporter(*argument, options.verbose);
            Tell(Outcome::ProjectNotFound, reporter);
        }
        return kExitUsage;
    }
    release.pairs = PairReleases(release.older, release.newer);
    return kExitSuccess;
}

// Compares one pair into its folder, names what it wrote and adds its row
// to the summary; gives its exit status.
int ComparePair(const ReleasePair& pair, const RunChoice& release, bool verbose, ReleaseSummaryWriter* summary)
{
    RunChoice choice = release;
    if (!pair.subfolder.empty()) {
        choice.folder = PathInFolder(release.folder, pair.subfolder);
        choice.makeFolder = true;
    }
    const std::string_view oldProject = pair.older != nullptr ? std::string_view(pair.older->path) : std::string_view();
    const std::string_view newProject = pair.newer != nullptr ? std::string_view(pair.newer->path) : std::string_view();

    CliReporter reporter(pair.Named().path, verbose);
    int status = kExitSuccess;
    const ComparisonRun run = RunComparison(oldProject, newProject, choice, reporter, [&](const OutputDone& done) {
        if (!done.written) {
            status = std::max(status, Tell(Outcome::OutputFailed, reporter));
        } else if (!NameFiles(done.files)) {
            status = std::max(status, Tell(Outcome::NamingFailed, reporter));
        }
    });
    // The rows of a member that could not be read say so; the comparison of
    // the others stands, so this is said without failing the run.
    TellFailedMembers(run.failedMembers, verbose);
    if (summary != nullptr) summary->Row(PathToUtf8(oldProject), PathToUtf8(newProject), run.status, run.changes);
    if (!run.failedProject.empty()) {
        CliReporter failed(run.failedProject, verbose);
        return Tell(run.status == ProjectStatus::NotFound ? Outcome::ProjectNotFound : Outcome::ProjectUnreadable,
                    failed);
    }
    return status;
}

}  // namespace

int RunDiffCommand(const Options& options)
{
    Release release;
    if (const int failed = PairArguments(options, release); failed != kExitSuccess) return failed;

    RunChoice choice;
    choice.format = options.format;
    choice.codePage = options.codePage.value_or(DefaultCodePage());
    choice.folder = options.outputFolder;

    const bool summarized = !options.summaryFile.empty();
    ReleaseSummaryWriter summary;
    CliReporter summaryReporter(options.summaryFile, options.verbose);
    if (summarized && !summary.Open(options.summaryFile)) {
        summaryReporter.Say(message::kSummaryFailed);
        return kExitUsage;
    }

    int status = kExitSuccess;
    for (const ReleasePair& pair : release.pairs) {
        status = std::max(status, ComparePair(pair, choice, options.verbose, summarized ? &summary : nullptr));
    }
    if (summarized) {
        if (summary.Close() && NameFiles(std::vector<std::string>{options.summaryFile})) return status;
        summaryReporter.Say(message::kSummaryFailed);
        status = std::max(status, kExitFailed);
    }
    return status;
}

}  // namespace kolvane::cli
