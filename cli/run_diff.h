// kolvane-cli --diff: the change counts between two versions of a project,
// or of every project of a release (two folders or two groups).
#pragma once

#include "cli/options.h"

namespace kolvane::cli {

// Compares options.projects[0] (old) with options.projects[1] (new): two
// project files, two folders or two groups, whose projects pair by their
// relative paths. Writes each pair's report into the output folder (or a
// subfolder of it when two reports would have the same name) and the
// summary when asked; names every file written on standard output. Exit
// status, the worst over the pairs: 0 written, 1 a report or the summary
// could not be written, 2 a usage error or a project that cannot be read
// (its pair writes nothing).
int RunDiffCommand(const Options& options);

}  // namespace kolvane::cli
