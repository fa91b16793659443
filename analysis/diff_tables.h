// The change count rows as CSV (<new title>_Diff.csv) and JSON
// (<new title>_Diff.json). Both UTF-8 (the CSV with a byte-order mark and
// CR LF line ends); titles and names converted from the source code page.
//
// CSV: file,kind,procedure,name,status,added,changed,deleted,unchanged,
// old_steps,new_steps,designer_changed; one row per declarations section
// ("(declarations)", empty name, designer_changed filled) and per procedure.
// JSON: {"old_project", "new_project", "modules": [{"file", "kind",
// "status", "rows": [{the other columns}]}]}, empty figures as null.
#pragma once

#include "analysis/code_page.h"
#include "analysis/project_diff.h"

#include <string>

namespace kolvane {

std::string DiffCsv(const ProjectDiff& diff, CodePage codePage);
std::string DiffJson(const ProjectDiff& diff, CodePage codePage);

}  // namespace kolvane
