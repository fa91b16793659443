// What every output of a run is: a writer that begins with the project,
// takes the project's scanned modules one at a time, in the run's order, and
// finishes. The outputs are listed in one table (run/outputs.h); the project
// session (run/session.h) reads and scans each module once for all of them.
#pragma once

#include "analysis/source/code_page.h"
#include "analysis/source/scanned_module.h"
#include "project/text/reporter.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

// A report's file name for a project: the project file's name without its
// folder, less its last four characters when it is longer than four, then
// the suffix ("Demo.vbp" -> "Demo_StCnt.txt").
std::string ReportFileName(std::string_view projectPath, std::string_view suffix);

// What an output is made with.
struct OutputContext {
    std::string_view projectPath;          // as given
    std::string_view previousProjectPath;  // the old version's, in a comparison of two versions
    std::string_view projectText;          // the project file as read (its lines), when the run read it
    std::string project;                   // the project path in UTF-8, for the tables
    std::string folder;                    // where the files go; empty: the current folder
    std::string reportPath;                // when set: the path of a one-file output (the window's)
    CodePage codePage = CodePage::Cp932;

    // Where the output with the suffix goes: reportPath when set, else the
    // report file name in the folder.
    std::string PathFor(std::string_view suffix) const;
};

// One module's turn: the module, and in a comparison of two versions the
// same module's old version. In a comparison either may be missing (a
// module of one version only), never both.
struct ModuleTurn {
    const ScannedModule* module = nullptr;
    const ScannedModule* previous = nullptr;
};

// What a writer made of one module ahead of its turn (see Prepare).
class PreparedModule {
public:
    virtual ~PreparedModule() = default;
};

// The figures a run adds up for a summary of its project.
struct ProjectFigures;

class Writer {
public:
    virtual ~Writer() = default;
    // Before the first module. False when the output failed (already reported).
    virtual bool Begin(Reporter& reporter) = 0;
    // The part of one module's work that needs nothing but the turn. It may
    // run on any thread, for any module, before the module's turn; null when
    // there is nothing to do ahead.
    virtual std::unique_ptr<PreparedModule> Prepare(const ModuleTurn&) const { return nullptr; }
    // One module with what Prepare made of it (may be null: the work is then
    // done here). False when the output failed (already reported): it takes
    // no further module.
    virtual bool Take(const ModuleTurn& turn, const PreparedModule* prepared, Reporter& reporter) = 0;
    // Whether Take reads the turn's modules (beyond their place and read
    // status) when Prepare made something of them. When no writer of a run
    // does, a turn's sources serve the next turns as soon as it is prepared.
    virtual bool TakesPreparedModules() const { return true; }
    // After the last module. False when the output failed (already reported).
    virtual bool Finish(Reporter& reporter) = 0;
    // The files written whole, once Finish has succeeded.
    virtual std::vector<std::string> Files() const = 0;
    // Adds what the output knows of the project to its summary.
    virtual void Summarize(ProjectFigures&) const {}
};

}  // namespace kolvane
