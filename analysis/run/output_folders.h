// Where the outputs of the projects of one run go under its output folder.
// Projects found under a folder or listed by a group can share a title
// ("Project1.vbp" in two folders); their outputs would have the same names,
// so each such project writes into the folder of its relative path.
#pragma once

#include "project/model/project_search.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

// A path as outputs and release pairs compare it: ASCII letters in lower
// case (the second byte of a double-byte character kept), every separator '/'.
std::string PathKey(std::string_view path);

// The folder of a relative path as a subfolder: its parts joined with the
// platform's separator, leaving out empty, "." and ".." parts and a drive
// ("C:"), so that it stays inside the output folder.
std::string SubfolderOf(std::string_view relative);

// Per project, the subfolder of the output folder its outputs go into: empty
// for the folder itself; when the outputs of two projects would have the
// same name (in any ASCII case), each goes into the folder of its relative
// path (SubfolderOf).
std::vector<std::string> OutputSubfolders(std::span<const ListedProject* const> projects);

// Where two projects of different paths would still write the same files
// (the tops of two folders searched, relative paths that differ only by "."
// parts), each goes into the folder of its path as found instead. The same
// project listed twice still writes its files twice.
void SeparateByPathsAsFound(std::span<const ListedProject* const> projects, std::vector<std::string>& subfolders);

}  // namespace kolvane
