// The summary of the change counts of a whole release: one CSV row per pair
// of projects, in the order they were compared, and a last row "total" that
// adds up every row's figures.
//   old_project,new_project,status,added,changed,deleted,unchanged,old_steps,
//   new_steps,designer_changed_modules
#pragma once

#include "analysis/tables/csv_writer.h"
#include "analysis/tables/project_figures.h"

#include <string_view>

namespace kolvane {

class ReleaseSummaryWriter {
public:
    // Creates the file with its header row; false when it cannot.
    bool Open(std::string_view path);
    // One pair: the project paths in UTF-8, empty for a version that does
    // not exist; status tells whether both project files were read. The
    // row's status is "not found" or "unreadable" for a project that could
    // not be read (the figures then empty), else "added" (no old project),
    // "deleted" (no new project), "changed" or "unchanged".
    void Row(std::string_view oldProject, std::string_view newProject, ProjectStatus status,
             const ChangeFigures& figures);
    // Writes the total row and closes the file; true when every byte was
    // written.
    bool Close();

private:
    void Figures(const ChangeFigures& figures);

    CsvWriter csv_;
    ChangeFigures total_;
};

}  // namespace kolvane
