// An analysis that runs over the rows of the module table, each module's
// source read once for every analysis of the run (see RunAnalyses).
#pragma once

#include "analysis/reports/report_texts.h"
#include "project/module_table.h"
#include "project/reporter.h"
#include "project/source_text.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kolvane {

// One module's source as the run read it.
struct ModuleSource {
    bool exists = false;  // the path named something before the read
    ReadOutcome outcome = ReadOutcome::CannotOpen;
    TextBuffer text;  // as stored (ReadRawText); kept between modules for its capacity
    bool holdsNul = false;  // the text holds a NUL byte

    void Read(std::string_view path);
};

// The row's kind of the module table; a row of any other kind is reported
// as the unexpected error every analysis shows for it.
inline std::optional<ModuleKind> KnownTableKind(const ModuleEntry& row, Reporter& reporter)
{
    const std::optional<ModuleKind> kind = TableKind(row);
    if (!kind) reporter.Message(report_text::kUnexpected, report_text::kErrorCaption);
    return kind;
}

// What an analysis made of one module ahead of its turn (see Prepare).
class PreparedModule {
public:
    virtual ~PreparedModule() = default;
};

class ModuleAnalysis {
public:
    virtual ~ModuleAnalysis() = default;
    // Before the first module. False when the analysis failed (already reported).
    virtual bool Start(Reporter& reporter) = 0;
    // The part of one module's work that needs nothing but the row and its
    // source. It may run on any thread, for any module, before the module's
    // turn; null when there is nothing to do ahead.
    virtual std::unique_ptr<PreparedModule> Prepare(const ModuleEntry&, const ModuleSource&) const { return nullptr; }
    // One row with its source and what Prepare made of it (may be null: the
    // work is then done here). False when the analysis failed (already reported).
    virtual bool Module(const ModuleEntry& row, const ModuleSource& source, const PreparedModule* prepared,
                        Reporter& reporter) = 0;
    // After the last row. False when the analysis failed (already reported).
    virtual bool Finish(Reporter& reporter) = 0;
};

}  // namespace kolvane
