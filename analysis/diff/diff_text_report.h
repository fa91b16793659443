// The change count report (<new title>_Diff.txt): Shift_JIS texts, the
// source's own bytes for paths, titles and names, CR LF line ends. Banner
// and both project paths; per module its title, status, designer line
// (header kinds), four figures and one line per row that is not unchanged;
// then the totals per kind and overall.
#pragma once

#include "analysis/diff/diff_format.h"
#include "analysis/diff/project_diff.h"

#include <memory>
#include <string>
#include <string_view>

namespace kolvane {

// The report's layout.
std::unique_ptr<DiffFormat> MakeDiffTextFormat();

// The report's text with LF line ends.
std::string DiffTextReport(const ProjectDiff& diff);

}  // namespace kolvane
