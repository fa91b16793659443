// The project session: what both front ends do with a project. It loads the
// project, reads and scans each module once for all the chosen outputs, on
// every core, hands the modules to the writers in order, and tells the
// outcome in types; the front ends map the outcomes to their own texts.
#pragma once

#include "analysis/run/outputs.h"
#include "analysis/source/code_page.h"
#include "analysis/tables/project_figures.h"
#include "project/model/member_list.h"
#include "project/model/module_table.h"
#include "project/model/project_reader.h"
#include "project/text/reporter.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

struct RunChoice {
    std::vector<AnalysisId> analyses;  // each once, in table order
    OutputFormat format = OutputFormat::Text;
    CodePage codePage = CodePage::Cp932;
    std::string folder;      // where the files go; empty: the current folder
    std::string reportPath;  // the window's: the path of its one text report
    bool summary = false;    // the project's figures are wanted for a summary row
    std::size_t threads = 0;  // threads reading and scanning modules; 0: one per core, at most four
    bool makeFolder = false;  // the folder is made (with its parents) before the first output is written
};

// One output of a run, once it has ended.
struct OutputDone {
    const AnalysisRow* row = nullptr;
    OutputFormat format = OutputFormat::Text;
    ModuleSource source = ModuleSource::Members;  // the modules it took
    bool written = false;            // every file written whole
    std::vector<std::string> files;  // the files written, when written
};

// Called once per output, in the order of the choice, after every message
// of the output has been reported.
using OutputDoneCallback = std::function<void(const OutputDone& done)>;

// A member whose file could not be read: its rows say so, the others count.
struct FailedMember {
    std::string_view project;  // the project file that lists it, as the run was given it
    std::string value;  // the member as the project file writes it
    SourceStatus status = SourceStatus::Missing;
};

struct ProjectRun {
    // The project file as the member list read it (Ok when no output needed
    // the member list). Nothing ran when it is not Ok.
    ProjectStatus status = ProjectStatus::Ok;
    // The module table of the text reports, when they were chosen: why it
    // could not be loaded, or that it holds no module. The text reports did
    // not run then; the other outputs did.
    LoadFailure tableFailure = LoadFailure::None;
    bool tableEmpty = false;
    // The members the other outputs took.
    ProjectFigures figures;
    std::vector<FailedMember> failedMembers;  // in project order
};

// Loads the project and runs the chosen outputs on it.
ProjectRun RunProject(std::string_view projectPath, const RunChoice& choice, Reporter& reporter,
                      const OutputDoneCallback& done);

// Runs the chosen text reports on a module table loaded before (the
// window's): tableEmpty, with nothing run, when it holds no module.
ProjectRun RunProjectTable(std::string_view projectPath, const ModuleTable& table, const RunChoice& choice,
                           Reporter& reporter, const OutputDoneCallback& done);

struct ComparisonRun {
    // The first project file that could not be read, and how; nothing was
    // written then.
    std::string_view failedProject;
    ProjectStatus status = ProjectStatus::Ok;
    // The figures of the rows, when both project files were read.
    ChangeFigures changes;
    std::vector<FailedMember> failedMembers;  // of either version, in the order of the rows
};

// Compares the old version of a project with the new one through the
// change count outputs of the choice. An empty path stands for a version
// that does not exist: without an old project every module is added,
// without a new one every module is deleted (and the outputs are named
// after the old project).
ComparisonRun RunComparison(std::string_view oldProject, std::string_view newProject, const RunChoice& choice,
                            Reporter& reporter, const OutputDoneCallback& done);

}  // namespace kolvane
