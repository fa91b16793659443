#include "cli/options.h"

#include <algorithm>
#include <array>
#include <optional>

namespace kolvane::cli {
namespace {

constexpr std::string_view kEndOfOptions = "--";
constexpr std::string_view kOutputPrefix = "--output=";

struct Flag {
    char shortName;
    std::string_view longName;
};

constexpr Flag kSteps{'s', "--steps"};
constexpr Flag kProcedures{'p', "--procedures"};
constexpr Flag kApis{'a', "--apis"};
constexpr Flag kAll{'A', "--all"};
constexpr Flag kOutput{'o', "--output"};
constexpr Flag kVerbose{'v', "--verbose"};
constexpr Flag kHelp{'h', "--help"};
constexpr std::string_view kVersion = "--version";
constexpr std::string_view kDiff = "--diff";
constexpr std::string_view kFormat = "--format";
constexpr std::string_view kEncoding = "--encoding";
constexpr std::string_view kSummary = "--summary";

struct FormatName {
    std::string_view name;
    OutputFormat format;
};
constexpr std::array<FormatName, 3> kFormats = {{
    {"text", OutputFormat::Text},
    {"csv", OutputFormat::Csv},
    {"json", OutputFormat::Json},
}};

constexpr std::array<AnalysisKind, 3> kReportOrder = {AnalysisKind::StepCount, AnalysisKind::ProcedureList,
                                                      AnalysisKind::ApiList};

class Parser {
public:
    explicit Parser(std::span<const char* const> arguments) : arguments_(arguments) {}

    ParsedOptions Run()
    {
        bool optionsEnded = false;
        for (next_ = 0; next_ < arguments_.size() && result_.error.empty();) {
            const std::string_view argument = arguments_[next_++];
            if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
                result_.options.projects.emplace_back(argument);
            } else if (argument == kEndOfOptions) {
                optionsEnded = true;
            } else if (argument.starts_with("--")) {
                Long(argument);
            } else {
                ShortCluster(argument.substr(1));
            }
            if (result_.options.help || result_.options.version) return std::move(result_);
        }
        if (result_.error.empty() && result_.options.projects.empty()) result_.error = "no project file given";
        if (result_.error.empty() && result_.options.diff) CheckDiff();
        for (std::size_t i = 0; i < kReportOrder.size(); ++i) {
            if (selected_[i]) result_.options.analyses.push_back(kReportOrder[i]);
        }
        if (result_.options.analyses.empty()) result_.options.analyses.push_back(AnalysisKind::StepCount);
        return std::move(result_);
    }

private:
    void Select(AnalysisKind kind) { selected_[static_cast<std::size_t>(kind)] = true; }

    // --diff compares exactly two projects and runs no other analysis.
    void CheckDiff()
    {
        if (result_.options.projects.size() != 2) {
            result_.error = "option '--diff' needs two project files, OLD.vbp and NEW.vbp";
        } else if (std::find(selected_.begin(), selected_.end(), true) != selected_.end() ||
                   !result_.options.summaryFile.empty()) {
            result_.error = "option '--diff' cannot be combined with -s, -p, -a, -A or --summary";
        }
    }

    void Long(std::string_view argument)
    {
        Options& options = result_.options;
        if (argument == kSteps.longName) {
            Select(AnalysisKind::StepCount);
        } else if (argument == kProcedures.longName) {
            Select(AnalysisKind::ProcedureList);
        } else if (argument == kApis.longName) {
            Select(AnalysisKind::ApiList);
        } else if (argument == kAll.longName) {
            selected_.fill(true);
        } else if (argument == kVerbose.longName) {
            options.verbose = true;
        } else if (argument == kHelp.longName) {
            options.help = true;
        } else if (argument == kVersion) {
            options.version = true;
        } else if (argument == kDiff) {
            options.diff = true;
        } else if (argument == kOutput.longName) {
            OutputFolder(argument, NextArgument());
        } else if (argument.starts_with(kOutputPrefix)) {
            OutputFolder(kOutput.longName, argument.substr(kOutputPrefix.size()));
        } else if (const std::optional<std::string_view> format = ValueOf(argument, kFormat)) {
            Format(*format);
        } else if (const std::optional<std::string_view> encoding = ValueOf(argument, kEncoding)) {
            Encoding(*encoding);
        } else if (const std::optional<std::string_view> summary = ValueOf(argument, kSummary)) {
            if (summary->empty()) result_.error = "option '--summary' needs a file";
            options.summaryFile = *summary;
        } else {
            result_.error = "unknown option '" + std::string(argument) + "'";
        }
    }

    // "-sp", "-v", "-o DIR", "-oDIR".
    void ShortCluster(std::string_view letters)
    {
        for (std::size_t i = 0; i < letters.size() && result_.error.empty(); ++i) {
            const char letter = letters[i];
            if (letter == kSteps.shortName) {
                Select(AnalysisKind::StepCount);
            } else if (letter == kProcedures.shortName) {
                Select(AnalysisKind::ProcedureList);
            } else if (letter == kApis.shortName) {
                Select(AnalysisKind::ApiList);
            } else if (letter == kAll.shortName) {
                selected_.fill(true);
            } else if (letter == kVerbose.shortName) {
                result_.options.verbose = true;
            } else if (letter == kHelp.shortName) {
                result_.options.help = true;
                return;
            } else if (letter == kOutput.shortName) {
                const std::string_view rest = letters.substr(i + 1);
                OutputFolder("-o", rest.empty() ? NextArgument() : rest);
                return;
            } else {
                result_.error = std::string("unknown option '-") + letter + "'";
            }
        }
    }

    // The value of "--name VALUE" or "--name=VALUE"; nullopt when the
    // argument is another option. A missing value is an empty one.
    std::optional<std::string_view> ValueOf(std::string_view argument, std::string_view name)
    {
        if (argument == name) return NextArgument().value_or(std::string_view{});
        if (argument.starts_with(name) && argument.size() > name.size() && argument[name.size()] == '=') {
            return argument.substr(name.size() + 1);
        }
        return std::nullopt;
    }

    void Format(std::string_view name)
    {
        for (const FormatName& known : kFormats) {
            if (known.name == name) {
                result_.options.format = known.format;
                return;
            }
        }
        result_.error = "unknown format '" + std::string(name) + "' (text, csv or json)";
    }

    void Encoding(std::string_view name)
    {
        result_.options.codePage = ParseCodePage(name);
        if (!result_.options.codePage) {
            result_.error = "unknown encoding '" + std::string(name) + "' (cp932, cp1252 or utf-8)";
        }
    }

    std::optional<std::string_view> NextArgument()
    {
        if (next_ == arguments_.size()) return std::nullopt;
        return arguments_[next_++];
    }

    void OutputFolder(std::string_view option, std::optional<std::string_view> folder)
    {
        if (!folder || folder->empty()) {
            result_.error = "option '" + std::string(option) + "' needs a folder";
        } else {
            result_.options.outputFolder = *folder;
        }
    }

    std::span<const char* const> arguments_;
    std::size_t next_ = 0;
    std::array<bool, kReportOrder.size()> selected_{};
    ParsedOptions result_;
};

}  // namespace

ParsedOptions ParseOptions(std::span<const char* const> arguments) { return Parser(arguments).Run(); }

const std::string_view kUsage =
    "Usage: kolvane-cli [OPTION]... PROJECT.vbp|GROUP.vbg|FOLDER...\n"
    "  or:  kolvane-cli --diff [-o DIR] [--format FORMAT] [--encoding NAME] OLD.vbp NEW.vbp\n"
    "Measure and index the source of Visual Basic projects. Each project is\n"
    "loaded in turn and every chosen report is written for it. A group stands\n"
    "for the projects it lists, a folder for every project file under it.\n"
    "\n"
    "  -s, --steps         step and comment counts (NAME_StCnt.txt); the default\n"
    "  -p, --procedures    Sub, Function and Property declarations (NAME_FncOp.txt)\n"
    "  -a, --apis          API declarations (NAME_APIOp.txt)\n"
    "  -A, --all           all three reports\n"
    "  -o, --output DIR    write the reports into DIR instead of the current folder\n"
    "      --format FORMAT text (the reports above), csv (NAME_StCnt.csv,\n"
    "                      NAME_FncOp.csv, NAME_APIOp.csv) or json (NAME.json)\n"
    "      --encoding NAME code page of the sources for csv and json: cp932 (the\n"
    "                      default), cp1252 or utf-8\n"
    "      --summary FILE  also write one CSV row per project into FILE\n"
    "      --diff          count the steps added, changed and deleted from OLD.vbp\n"
    "                      to NEW.vbp, per procedure (NEWNAME_Diff.txt, .csv, .json)\n"
    "  -v, --verbose       show the file layer's progress notes on standard error\n"
    "  -h, --help          show this help and exit\n"
    "      --version       show the version and exit\n"
    "\n"
    "NAME is the project file's name less its extension. Every report written is\n"
    "named on standard output, every message on standard error.\n"
    "Exit status: the worst over all projects; 0 when every report was written,\n"
    "1 when an analysis failed (or, for csv and json, a module could not be\n"
    "read), 2 for a usage error or a project that cannot be read or lists no\n"
    "module (csv and json accept a project without modules).\n";

}  // namespace kolvane::cli
