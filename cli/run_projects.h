// Runs the chosen analyses on each project of the command line in turn.
#pragma once

#include "cli/options.h"

namespace kolvane::cli {

// Expands folders and groups, then loads every project afresh and runs the
// chosen outputs on it, writing into the output folder (or the current
// directory); writes the summary when one is asked for. Names every file
// written on standard output. The exit status: the worst over all projects.
int RunProjects(const Options& options);

}  // namespace kolvane::cli
