// The comparison of the old and the new version of one module: one row for
// its declarations section (the statements outside every procedure) and one
// per procedure, with the change figures of each.
#pragma once

#include "analysis/diff/change_counts.h"
#include "analysis/source/statement_key.h"
#include "analysis/source/scanned_module.h"
#include "project/model/module_kind.h"

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

// Compares two versions of a module of the given kind, each scanned to its
// procedures; a null version is a module the project does not list in that
// version. Statement keys are built only for the statements of a procedure
// (or declarations section) that differ from the other version's as stored.
ModuleDiff DiffModule(ModuleKind kind, std::string file, const ScannedModule* older, const ScannedModule* newer,
                      LeadByteTest isLeadByte);

// Whether two texts as stored read the same once every CR LF is one LF.
bool SameDecodedText(std::string_view a, std::string_view b);

}  // namespace kolvane
