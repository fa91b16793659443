#include "cli/cli_reporter.h"

#include "cli/terminal_text.h"

#include <cstdio>

namespace kolvane::cli {
namespace {

constexpr std::string_view kProgram = "kolvane-cli: ";
constexpr std::string_view kSeparator = ": ";

}  // namespace

void CliReporter::Message(std::string_view text, std::string_view)
{
    std::string head(kProgram);
    head.append(subject_).append(kSeparator);
    std::fwrite(head.data(), 1, head.size(), stderr);
    std::string line(text);
    line.push_back('\n');
    WriteTerminalText(stderr, line);
}

void CliReporter::Trace(std::string_view line)
{
    if (verbose_) WriteTerminalText(stderr, line);
}

}  // namespace kolvane::cli
