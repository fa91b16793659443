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

#if defined(__GLIBC__)
#include <malloc.h>
#endif

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

// glibc hands freed memory back to the system as soon as 128 KiB lie free
// at the top of the heap. A run over many projects frees what it kept of
// each (the rows of a comparison: some MiB) and would fault the same pages
// in again for the next one; this keeps them.
void KeepFreedMemory()
{
#if defined(__GLIBC__)
    constexpr int kTrimThreshold = 64 << 20;
    constexpr int kMmapThreshold = 16 << 20;  // larger blocks are mapped and unmapped alone
    mallopt(M_TRIM_THRESHOLD, kTrimThreshold);
    mallopt(M_MMAP_THRESHOLD, kMmapThreshold);
#endif
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace kolvane::cli;
    KeepFreedMemory();

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
