// The command line of kolvane-cli, parsed into what to run on which projects.
#pragma once

#include "analysis/run/outputs.h"
#include "analysis/source/code_page.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane::cli {

struct Options {
    std::vector<AnalysisId> analyses;    // each once, in table order; the step count when none is named
    std::string outputFolder;            // empty: the current directory
    bool verbose = false;
    bool help = false;
    bool version = false;
    bool diff = false;                  // --diff OLD NEW: the two projects, in that order
    std::vector<std::string> projects;  // as given, in order (folders and groups not yet expanded)
    OutputFormat format = OutputFormat::Text;
    std::optional<CodePage> codePage;  // --encoding; the default code page when absent
    std::string summaryFile;           // --summary; empty: none
};

struct ParsedOptions {
    Options options;
    std::string error;  // empty when the command line is valid
};

// Parses the arguments after the program name. --help and --version end the
// parsing at once, whatever follows them.
ParsedOptions ParseOptions(std::span<const char* const> arguments);

extern const std::string_view kUsage;

}  // namespace kolvane::cli
