// An analysis that runs over the rows of the module table, each module's
// source read once for every analysis of the run (see RunAnalyses).
#pragma once

#include "project/module_table.h"
#include "project/reporter.h"
#include "project/source_text.h"

#include <string>
#include <string_view>

namespace kolvane {

// One module's source as the run read it.
struct ModuleSource {
    bool exists = false;                          // the path named something before the read
    ReadOutcome outcome = ReadOutcome::CannotOpen;
    std::string text;                             // as stored (ReadRawText); kept between modules for its capacity

    void Read(std::string_view path);
};

class ModuleAnalysis {
public:
    virtual ~ModuleAnalysis() = default;
    // Before the first module. False when the analysis failed (already reported).
    virtual bool Start(Reporter& reporter) = 0;
    // One row with its source. False when the analysis failed (already reported).
    virtual bool Module(const ModuleEntry& row, const ModuleSource& source, Reporter& reporter) = 0;
    // After the last row. False when the analysis failed (already reported).
    virtual bool Finish(Reporter& reporter) = 0;
};

}  // namespace kolvane
