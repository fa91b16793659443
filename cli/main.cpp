// kolvane-cli: the three analyses of Kolvane from a command line.
#include "cli/options.h"
#include "cli/run_diff.h"
#include "cli/run_extended.h"
#include "cli/run_projects.h"
#include "cli/terminal_text.h"
#include "project/reporter.h"
#include "project/source_file.h"

#include <algorithm>
#include <cstdio>
#include <span>
#include <string>

namespace {

constexpr std::string_view kProgram = "kolvane-cli";
constexpr std::string_view kVersionLine = "kolvane-cli " KOLVANE_VERSION "\n";
constexpr std::string_view kHelpHint = "Try 'kolvane-cli --help' for more information.\n";

// Messages as "kolvane-cli: CAPTION: TEXT" lines on standard error; trace
// lines there too, with --verbose only.
class StandardErrorReporter final : public kolvane::Reporter {
public:
    explicit StandardErrorReporter(bool verbose) : verbose_(verbose) {}

    void Message(std::string_view text, std::string_view caption) override
    {
        std::string line(kProgram);
        line.append(": ").append(caption).append(": ").append(text).push_back('\n');
        kolvane::cli::WriteTerminalText(stderr, line);
    }

    void Trace(std::string_view line) override
    {
        if (verbose_) kolvane::cli::WriteTerminalText(stderr, line);
    }

private:
    bool verbose_;
};

// The arguments it quotes are already in the terminal's encoding.
void PrintUsageError(std::string_view error)
{
    std::string line(kProgram);
    line.append(": ").append(error).push_back('\n');
    line.append(kHelpHint);
    std::fwrite(line.data(), 1, line.size(), stderr);
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace kolvane::cli;

    const std::span<const char* const> arguments(argv + 1, static_cast<std::size_t>(argc > 0 ? argc - 1 : 0));
    const ParsedOptions parsed = ParseOptions(arguments);
    if (parsed.options.help) {
        std::fwrite(kUsage.data(), 1, kUsage.size(), stdout);
        return kExitSuccess;
    }
    if (parsed.options.version) {
        std::fwrite(kVersionLine.data(), 1, kVersionLine.size(), stdout);
        return kExitSuccess;
    }
    if (!parsed.error.empty()) {
        PrintUsageError(parsed.error);
        return kExitUsage;
    }
    const std::string& outputFolder = parsed.options.outputFolder;
    if (!outputFolder.empty() && !kolvane::FileExists(outputFolder)) {
        PrintUsageError("output folder '" + outputFolder + "' does not exist");
        return kExitUsage;
    }

    StandardErrorReporter reporter(parsed.options.verbose);
    if (parsed.options.diff) return RunDiffCommand(parsed.options, reporter);
    Options options = parsed.options;
    ExpandProjectArguments(options);
    int status = options.format == kolvane::OutputFormat::Text ? RunProjects(options, reporter) : kExitSuccess;
    if (options.format != kolvane::OutputFormat::Text || !options.summaryFile.empty()) {
        status = std::max(status, RunExtended(options));
    }
    return status;
}
