// The extended run of kolvane-cli: CSV and JSON outputs, the summary, and
// the projects that folders and groups stand for.
#pragma once

#include "cli/options.h"

namespace kolvane::cli {

// Replaces folders and groups among options.projects by the projects they
// stand for; a folder that cannot be read is reported on standard error.
void ExpandProjectArguments(Options& options);

// Writes the CSV or JSON outputs of every project (none for the text
// format) and the summary when one is asked for; names every file written
// on standard output. The exit status: the worst over all projects.
int RunExtended(const Options& options);

}  // namespace kolvane::cli
