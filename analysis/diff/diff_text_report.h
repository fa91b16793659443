// The change count report (<new title>_Diff.txt): Shift_JIS texts, the
// source's own bytes for paths, titles and names, CR LF line ends. Banner
// and both project paths; per module its title, status, designer line
// (header kinds), four figures and one line per row that is not unchanged;
// then the totals per kind and overall.
#pragma once

#include "analysis/diff/project_diff.h"

#include <string>
#include <string_view>

namespace kolvane {

// The report's text with LF line ends.
std::string DiffTextReport(const ProjectDiff& diff);

// Writes the report in text mode (every LF as CR LF); false when the file
// could not be created or not be written whole.
bool WriteDiffTextReport(const ProjectDiff& diff, std::string_view reportPath);

}  // namespace kolvane
