// The summary of a run over many projects: one CSV row per project.
#pragma once

#include "analysis/tables/csv_writer.h"
#include "analysis/tables/project_figures.h"

#include <string_view>

namespace kolvane {

class SummaryWriter {
public:
    // Creates the file with its header row; false when it cannot.
    bool Open(std::string_view path);
    // project: the project path in UTF-8. The figures of a project that
    // could not be read are empty fields.
    void Row(std::string_view project, const ProjectFigures& figures);
    bool Close() { return csv_.Close(); }

private:
    CsvWriter csv_;
};

}  // namespace kolvane
