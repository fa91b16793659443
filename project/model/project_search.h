// The projects a command-line argument stands for: a project file itself, the
// projects a group file (.vbg) lists, or every project file under a folder.
#pragma once

#include "project/model/member_list.h"
#include "project/text/reporter.h"

#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

// What an argument names: a folder when it is one, else a group when it
// ends in ".vbg" (any case), else a project file.
enum class ArgumentKind { Project, Group, Folder };
ArgumentKind KindOfArgument(std::string_view argument);

// A project of a folder or a group, with its path relative to it.
struct ListedProject {
    std::string path;  // as AddProjectsOf gives it
    std::string relative;  // under the folder; for a group, the value it lists (relative to its folder)
};

// Appends the projects of one argument to projects:
// - a folder: every ".vbp" file under it (any case), searched recursively,
//   each folder visited once (symbolic links followed), in byte order of
//   their paths; a folder that cannot be read is reported and skipped;
// - a ".vbg" file: its Project= and StartupProject= lines, in file order,
//   resolved against the group's folder as members are; a group that cannot
//   be read stands for itself, so that it fails as a project;
// - anything else: the argument as it is, relative to itself.
// False when a folder under the argument could not be searched (reported):
// the projects added are then not all it stands for.
bool AddProjectsOf(std::string_view argument, std::vector<ListedProject>& projects, Reporter& reporter);

// The projects of a group file's text, resolved against groupPath.
void ReadProjectGroup(std::string_view groupPath, std::string_view text, std::vector<std::string>& projects);

// The projects of a folder or a group, as AddProjectsOf finds them, with
// their relative paths (replacing the content of projects). Not Ok when the
// group file cannot be read, or when a folder under the folder could not be
// read (reported): the list is then not the whole.
ProjectStatus ListProjectsOf(std::string_view argument, std::vector<ListedProject>& projects, Reporter& reporter);

}  // namespace kolvane
