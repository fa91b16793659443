#include "cli/run_extended.h"

#include "analysis/tables/summary_writer.h"
#include "cli/run_projects.h"
#include "cli/terminal_text.h"
#include "project/project_search.h"

#include <algorithm>
#include <cstdio>

namespace kolvane::cli {
namespace {

constexpr std::string_view kProgram = "kolvane-cli";
constexpr std::string_view kSummaryCaption = "エラー";
constexpr std::string_view kSummaryFailed = "サマリーファイルを書き込めません";

// Prints the messages of the core as "kolvane-cli: SUBJECT: CAPTION: TEXT",
// the subject (a path as given) in the terminal's encoding as it is.
class CliReporter : public Reporter {
public:
    explicit CliReporter(std::string_view subject) : subject_(subject) {}

    void Message(std::string_view text, std::string_view caption) override
    {
        std::string head(kProgram);
        head.append(": ").append(subject_).append(": ");
        std::fwrite(head.data(), 1, head.size(), stderr);
        std::string line(caption);
        line.append(": ").append(text).push_back('\n');
        WriteTerminalText(stderr, line);
    }
    void Trace(std::string_view) override {}

private:
    std::string subject_;
};

// Reports nothing: the text run has told the user already.
class QuietReporter : public Reporter {
public:
    void Message(std::string_view, std::string_view) override {}
    void Trace(std::string_view) override {}
};

bool NameOnStandardOutput(std::string_view path)
{
    std::string line(path);
    line.push_back('\n');
    return std::fwrite(line.data(), 1, line.size(), stdout) == line.size() && std::fflush(stdout) == 0;
}

ExtendedChoice ChoiceOf(const Options& options)
{
    ExtendedChoice choice;
    for (const AnalysisKind kind : options.analyses) {
        choice.steps |= kind == AnalysisKind::StepCount;
        choice.procedures |= kind == AnalysisKind::ProcedureList;
        choice.apis |= kind == AnalysisKind::ApiList;
    }
    choice.format = options.format;
    choice.codePage = options.codePage.value_or(DefaultCodePage());
    choice.outputFolder = options.outputFolder;
    return choice;
}

int ExitStatusOf(const ProjectFigures& figures, OutputFormat format)
{
    if (figures.status != ProjectStatus::Ok) return kExitUsage;
    if (format == OutputFormat::Text) return kExitSuccess;  // the text run decides
    if (figures.outputFailed || figures.memberFailed) return kExitAnalysisFailed;
    return kExitSuccess;
}

}  // namespace

void ExpandProjectArguments(Options& options)
{
    std::vector<std::string> projects;
    for (const std::string& argument : options.projects) {
        CliReporter reporter(argument);
        AddProjectsOf(argument, projects, reporter);
    }
    options.projects = std::move(projects);
}

int RunExtended(const Options& options)
{
    const ExtendedChoice choice = ChoiceOf(options);
    SummaryWriter summary;
    const bool summarize = !options.summaryFile.empty();
    if (summarize && !summary.Open(options.summaryFile)) {
        CliReporter(options.summaryFile).Message(kSummaryFailed, kSummaryCaption);
        return kExitUsage;
    }

    int status = kExitSuccess;
    for (const std::string& project : options.projects) {
        CliReporter loud(project);
        QuietReporter quiet;
        Reporter& reporter = options.format == OutputFormat::Text ? static_cast<Reporter&>(quiet) : loud;
        const ProjectFigures figures = RunExtendedProject(project, choice, reporter);
        int projectStatus = ExitStatusOf(figures, options.format);
        for (const std::string& written : figures.written) {
            if (!NameOnStandardOutput(written)) projectStatus = std::max(projectStatus, kExitAnalysisFailed);
        }
        if (summarize) summary.Row(PathToUtf8(project), figures);
        status = std::max(status, projectStatus);
    }
    if (summarize) {
        if (summary.Close()) {
            NameOnStandardOutput(options.summaryFile);
        } else {
            CliReporter(options.summaryFile).Message(kSummaryFailed, kSummaryCaption);
            status = std::max(status, kExitAnalysisFailed);
        }
    }
    return status;
}

}  // namespace kolvane::cli
