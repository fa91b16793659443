#include "cli/options.h"

#include "project/text/messages.h"

#include <algorithm>
#include <array>
#include <optional>
#include <set>

namespace kolvane::cli {
namespace {

constexpr std::string_view kEndOfOptions = "--";
constexpr std::string_view kOutputPrefix = "--output=";

constexpr char kAllShort = 'A';
constexpr std::string_view kAllLong = "--all";
constexpr char kOutputShort = 'o';
constexpr std::string_view kOutputLong = "--output";
constexpr char kVerboseShort = 'v';
constexpr std::string_view kVerboseLong = "--verbose";
constexpr char kHelpShort = 'h';
constexpr std::string_view kHelpLong = "--help";
constexpr std::string_view kVersion = "--version";
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
        Options& options = result_.options;
        if (result_.error.empty() && options.projects.empty()) result_.error = "no project file given";
        if (result_.error.empty() && options.diff) CheckDiff();
        if (result_.error.empty() && selected_.contains(AnalysisId::Inventory)) InventoryFormat();
        for (const AnalysisRow& row : AnalysisTable()) {
            if (selected_.contains(row.id)) options.analyses.push_back(row.id);
        }
        if (options.analyses.empty() && !options.diff) options.analyses.push_back(AnalysisId::Steps);
        return std::move(result_);
    }

private:
    void Select(const AnalysisRow& row)
    {
        if (row.id == AnalysisId::Changes) {
            result_.options.diff = true;
        } else {
            selected_.insert(row.id);
        }
    }

    void SelectAll()
    {
        for (const AnalysisRow& row : AnalysisTable()) {
            if (row.inAll) selected_.insert(row.id);
        }
    }

    // The inventory has tables only: CSV unless JSON is asked for.
    void InventoryFormat()
    {
        if (!formatGiven_) {
            result_.options.format = OutputFormat::Csv;
        } else if (result_.options.format == OutputFormat::Text) {
            result_.error = message::kInventoryAsText;
        }
    }

    // --diff compares exactly two projects and runs no other analysis.
    void CheckDiff()
    {
        if (result_.options.projects.size() != 2) {
            result_.error = "option '--diff' needs two projects, OLD and NEW";
        } else if (!selected_.empty()) {
            result_.error = "option '--diff' cannot be combined with another analysis";
        }
    }

    void Long(std::string_view argument)
    {
        Options& options = result_.options;
        if (const AnalysisRow* row = RowOfOption(argument.substr(2))) {
            Select(*row);
        } else if (argument == kAllLong) {
            SelectAll();
        } else if (argument == kVerboseLong) {
            options.verbose = true;
        } else if (argument == kHelpLong) {
            options.help = true;
        } else if (argument == kVersion) {
            options.version = true;
        } else if (argument == kOutputLong) {
            OutputFolder(argument, NextArgument());
        } else if (argument.starts_with(kOutputPrefix)) {
            OutputFolder(kOutputLong, argument.substr(kOutputPrefix.size()));
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
            const auto row = std::find_if(AnalysisTable().begin(), AnalysisTable().end(),
                                          [letter](const AnalysisRow& r) { return r.shortOption == letter; });
            if (row != AnalysisTable().end()) {
                Select(*row);
            } else if (letter == kAllShort) {
                SelectAll();
            } else if (letter == kVerboseShort) {
                result_.options.verbose = true;
            } else if (letter == kHelpShort) {
                result_.options.help = true;
                return;
            } else if (letter == kOutputShort) {
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
                formatGiven_ = true;
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
    std::set<AnalysisId> selected_;
    bool formatGiven_ = false;
    ParsedOptions result_;
};

}  // namespace

ParsedOptions ParseOptions(std::span<const char* const> arguments) { return Parser(arguments).Run(); }

const std::string_view kUsage =
    "Usage: kolvane-cli [OPTION]... PROJECT.vbp|GROUP.vbg|FOLDER...\n"
    "  or:  kolvane-cli --diff [OPTION]... OLD.vbp NEW.vbp | OLD.vbg NEW.vbg |\n"
    "                                      OLDFOLDER NEWFOLDER\n"
    "Measure and index the source of Visual Basic projects. Each project is\n"
    "loaded in turn and every chosen report is written for it. A group stands\n"
    "for the projects it lists, a folder for every project file under it;\n"
    "projects whose reports would have the same name write them into\n"
    "subfolders named after the projects' folders.\n"
    "\n"
    "  -s, --steps         step and comment counts (NAME_StCnt.txt); the default\n"
    "  -p, --procedures    Sub, Function and Property declarations (NAME_FncOp.txt)\n"
    "  -a, --apis          API declarations (NAME_APIOp.txt)\n"
    "  -A, --all           all three reports\n"
    "      --unused        unused code: every declaration with its status (live,\n"
    "                      dead, exposed, unknown) and references (NAME_Unused.txt,\n"
    "                      .csv, or the unused arrays of NAME.json); not in -A\n"
    "      --inventory     migration inventory: references and components,\n"
    "                      controls per form, constructs per module\n"
    "                      (NAME_References.csv, NAME_Controls.csv,\n"
    "                      NAME_Constructs.csv; csv unless --format json)\n"
    "  -o, --output DIR    write the reports into DIR (made when missing) instead of\n"
    "                      the current folder\n"
    "      --format FORMAT text (the reports above), csv (NAME_StCnt.csv,\n"
    "                      NAME_FncOp.csv, NAME_APIOp.csv, NAME_Unused.csv) or\n"
    "                      json (NAME.json)\n"
    "      --encoding NAME code page of the sources for csv and json: cp932 (the\n"
    "                      default), cp1252 or utf-8\n"
    "      --summary FILE  also write one CSV row per project (with --diff: per pair\n"
    "                      of projects, and a total) into FILE\n"
    "      --diff          count the steps added, changed and deleted from OLD.vbp\n"
    "                      to NEW.vbp, per procedure (NEWNAME_Diff.txt, .csv,\n"
    "                      .json), with -o, --format, --encoding and --summary;\n"
    "                      of two folders or two groups, for every project: the\n"
    "                      projects pair by their paths relative to OLD and NEW\n"
    "                      (any case), and reports of the same name go into\n"
    "                      subfolders named after the projects' folders\n"
    "  -v, --verbose       show the file layer's progress notes on standard error\n"
    "  -h, --help          show this help and exit\n"
    "      --version       show the version and exit\n"
    "\n"
    "NAME is the project file's name less its extension. Every report written is\n"
    "named on standard output, every message on standard error as\n"
    "'kolvane-cli: PROJECT: TEXT'.\n"
    "The text reports take at most 100 forms, 100 standard modules and 100\n"
    "classes (255 modules in all), values of at most 254 bytes and module paths\n"
    "of at most 256 bytes; a project past a limit is refused, the limit named.\n"
    "Exit status: the worst over all projects; 0 when every report was written,\n"
    "1 when an analysis failed (or, for csv, json and --unused, a module could\n"
    "not be read), 2 for a usage error or a project that cannot be read or\n"
    "lists no module (csv, json and --unused accept a project without modules).\n";

}  // namespace kolvane::cli
