// Runs the chosen analyses on each project of the command line in turn.
#pragma once

#include "cli/options.h"
#include "project/reporter.h"

namespace kolvane::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitAnalysisFailed = 1;
inline constexpr int kExitUsage = 2;  // also a project that cannot be read or lists no module

// Loads every project afresh and runs every chosen analysis on it, writing
// each report into the output folder (or the current directory) under the
// name the window gives it. Names each report written on standard output;
// messages and trace lines go to the reporter, which also stands for the
// window's outcome boxes. The exit status: the worst outcome over all projects.
int RunProjects(const Options& options, Reporter& reporter);

}  // namespace kolvane::cli
