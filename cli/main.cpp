// kolvane-cli: the analyses of Kolvane from a command line.
#include "cli/options.h"
#include "cli/outcomes.h"
#include "cli/run_diff.h"
#include "cli/run_projects.h"

#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <system_error>

namespace {

constexpr std::string_view kProgram = "kolvane-cli";
constexpr std::string_view kVersionLine = "kolvane-cli " KOLVANE_VERSION "\n";
constexpr std::string_view kHelpHint = "Try 'kolvane-cli --help' for more information.\n";

// The arguments it quotes are already in the terminal's encoding.
void PrintUsageError(std::string_view error)
{
    std::string line(kProgram);
    line.append(": ").append(error).push_back('\n');
    line.append(kHelpHint);
    std::fwrite(line.data(), 1, line.size(), stderr);
}

// The output folder, made with its parents when it is missing.
bool MakeOutputFolder(const std::string& folder)
{
    if (folder.empty()) return true;
    std::error_code error;
    const std::filesystem::path path(folder);
    std::filesystem::create_directories(path, error);
    return std::filesystem::is_directory(path, error);
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
    if (!MakeOutputFolder(parsed.options.outputFolder)) {
        PrintUsageError("output folder '" + parsed.options.outputFolder + "' cannot be made");
        return kExitUsage;
    }
    return parsed.options.diff ? RunDiffCommand(parsed.options) : RunProjects(parsed.options);
}
