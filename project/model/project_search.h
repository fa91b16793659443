// The projects a command-line argument stands for: a project file itself, the
// projects a group file (.vbg) lists, or every project file under a folder.
#pragma once

#include "project/text/reporter.h"

#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

// Appends the projects of one argument to projects:
// - a folder: every ".vbp" file under it (any case), searched recursively,
//   each folder visited once (symbolic links followed), in byte order of
//   their paths; a folder that cannot be read is reported and skipped;
// - a ".vbg" file: its Project= and StartupProject= lines, in file order,
//   resolved against the group's folder as members are; a group that cannot
//   be read stands for itself, so that it fails as a project;
// - anything else: the argument as it is.
void AddProjectsOf(std::string_view argument, std::vector<std::string>& projects, Reporter& reporter);

// The projects of a group file's text, resolved against groupPath.
void ReadProjectGroup(std::string_view groupPath, std::string_view text, std::vector<std::string>& projects);

}  // namespace kolvane
