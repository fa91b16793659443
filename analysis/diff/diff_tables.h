// The change count rows as CSV (<new title>_Diff.csv) and JSON
// (<new title>_Diff.json), with the conventions of the other extended
// outputs: UTF-8 (the CSV with a byte-order mark, RFC 4180 fields and CR
// LF), titles and names converted from the source code page, project paths
// from the system's encoding, an empty figure empty (CSV) or null (JSON).
//
// CSV: file,kind,procedure,name,status,added,changed,deleted,unchanged,
// old_steps,new_steps,designer_changed; one row per declarations section
// ("(declarations)", empty name, designer_changed filled) and per procedure.
// JSON: {"old_project", "new_project", "modules": [{"file", "kind",
// "status", "rows": [{the other columns}]}]}.
#pragma once

#include "analysis/source/code_page.h"
#include "analysis/diff/diff_format.h"
#include "analysis/diff/project_diff.h"

#include <memory>
#include <string>
#include <string_view>

namespace kolvane {

// The two layouts.
std::unique_ptr<DiffFormat> MakeDiffCsvFormat(CodePage codePage);
std::unique_ptr<DiffFormat> MakeDiffJsonFormat(CodePage codePage);

// The JSON text of a project's comparison.
std::string DiffJson(const ProjectDiff& diff, CodePage codePage);

}  // namespace kolvane
