// kolvane-cli --diff: the change counts between two versions of a project.
#pragma once

#include "cli/options.h"

namespace kolvane::cli {

// Compares options.projects[0] (old) with options.projects[1] (new) and
// writes the report into the output folder. Names the report on standard
// output. Exit status: 0 written, 1 the report could not be written, 2 a
// project that cannot be read (and nothing written).
int RunDiffCommand(const Options& options);

}  // namespace kolvane::cli
