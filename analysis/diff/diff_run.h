// One comparison of two versions of a project, from the two project files
// to the written report: both member lists are read first, so nothing is
// written when either project cannot be read.
#pragma once

#include "analysis/source/code_page.h"
#include "analysis/run/extended_run.h"
#include "project/member_list.h"

#include <string>

namespace kolvane {

struct DiffRequest {
    std::string oldProject;  // as given
    std::string newProject;
    std::string outputFolder;  // empty: the current folder
    OutputFormat format = OutputFormat::Text;
    CodePage codePage = CodePage::Cp932;
};

enum class DiffOutcome { Written, OldProjectFailed, NewProjectFailed, CannotWrite };

struct DiffResult {
    DiffOutcome outcome = DiffOutcome::Written;
    ProjectStatus projectStatus = ProjectStatus::Ok;  // of the project that failed
    std::string reportPath;  // the report written or attempted: <new title>_Diff.txt, .csv or .json
};

DiffResult RunDiff(const DiffRequest& request);

}  // namespace kolvane
