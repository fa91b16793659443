// One comparison of two versions of a project, from the two project files
// to the written report: both member lists are read first, so nothing is
// written when either project cannot be read.
#pragma once

#include "analysis/code_page.h"
#include "project/member_list.h"

#include <string>

namespace kolvane {

enum class DiffFormat { Text, Csv, Json };

struct DiffRequest {
    std::string oldProject;  // as given
    std::string newProject;
    std::string outputFolder;  // empty: the current folder
    DiffFormat format = DiffFormat::Text;
    CodePage codePage = CodePage::Cp932;
};

enum class DiffOutcome { Written, OldProjectFailed, NewProjectFailed, CannotWrite };

struct DiffResult {
    DiffOutcome outcome = DiffOutcome::Written;
    ProjectStatus projectStatus = ProjectStatus::Ok;  // of the project that failed
    std::string reportPath;                           // the report written or attempted
};

// The report's file name: the new project file's title less its last four
// characters, then "_Diff.txt", "_Diff.csv" or "_Diff.json".
std::string DiffReportName(std::string_view newProject, DiffFormat format);

DiffResult RunDiff(const DiffRequest& request);

}  // namespace kolvane
