// The comparison of the old and the new version of one module: one row for
// its declarations section (the statements outside every procedure) and one
// per procedure, with the change figures of each.
#pragma once

#include "analysis/diff/change_counts.h"
#include "analysis/source/statement_key.h"
#include "analysis/source/statement_scan.h"
#include "project/module_kind.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

enum class RowStatus { Added, Changed, Deleted, Unchanged, Missing, Unreadable };

// "added", "changed", ... as the CSV and JSON outputs write them.
std::string_view RowStatusText(RowStatus status);

// Whether a header kind's header differs between the versions; NotApplicable
// for standard modules and for modules that could not be read.
enum class DesignerChange { NotApplicable, Yes, No };

struct DiffRow {
    bool declarations = false;      // the declarations section; kind and name unused
    ProcedureKind kind = ProcedureKind::Sub;
    std::string name;               // source bytes, the new version's spelling when both have it
    RowStatus status = RowStatus::Unchanged;
    std::optional<ChangeCounts> counts;  // none for a module that could not be read
};

struct ModuleDiff {
    ModuleKind kind = ModuleKind::Bas;
    std::string file;  // file title, the new version's spelling when both have it
    RowStatus status = RowStatus::Unchanged;  // added, deleted, changed (some row changed), unchanged, or the failure
    DesignerChange designer = DesignerChange::NotApplicable;
    std::vector<DiffRow> rows;  // declarations row first

    // The figures of all rows added up (rows without figures add nothing).
    ChangeCounts Totals() const;
};

enum class SourceState { Read, Missing, Unreadable };

// One version of a module: its decoded text when it was read.
struct ModuleVersion {
    SourceState state = SourceState::Read;
    std::string_view text;
};

// Compares two versions of a module of the given kind; a null version is a
// module the project does not list in that version.
ModuleDiff DiffModule(ModuleKind kind, std::string file, const ModuleVersion* older, const ModuleVersion* newer,
                      LeadByteTest isLeadByte);

}  // namespace kolvane
