// What the three text reports have in common: they take the modules of the
// module table only, in table order, and write one file.
#pragma once

#include "project/text/messages.h"
#include "analysis/writer.h"
#include "project/model/module_table.h"
#include "project/text/reporter.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

// The row's kind of the module table; a row of any other kind is reported
// as the unexpected error every report shows for it.
inline std::optional<ModuleKind> KnownTableKind(const ModuleEntry& row, Reporter& reporter)
{
    const std::optional<ModuleKind> kind = TableKind(row);
    if (!kind) reporter.Message(message::kUnexpected, message::kErrorCaption);
    return kind;
}

class TextReport : public Writer {
public:
    TextReport(std::string_view projectPath, std::string_view reportPath)
        : projectPath_(projectPath), reportPath_(reportPath)
    {
    }

    std::vector<std::string> Files() const final { return {reportPath_}; }

protected:
    // The table's row of a turn; null for a module the table does not list.
    static const ModuleEntry* RowOf(const ModuleTurn& turn) { return turn.module->row; }

    std::string projectPath_;
    std::string reportPath_;
};

}  // namespace kolvane
