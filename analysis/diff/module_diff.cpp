#include "analysis/diff/module_diff.h"

#include "analysis/diff/common_subsequence.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <unordered_map>
#include <utility>

namespace kolvane {
namespace {

constexpr std::array<std::string_view, 6> kRowStatusTexts = {"added",     "changed", "deleted",
                                                             "unchanged", "missing", "unreadable"};
constexpr std::string_view kModuleNameAttribute = "attribute vb_name";
constexpr std::string_view kBlanks = " \t";

using Symbols = std::vector<std::uint32_t>;

// Statement keys numbered so that equal statements get equal numbers; one
// table serves both versions of a module.
class SymbolTable {
public:
    std::uint32_t Of(std::string_view key)
    {
        const auto found = numbers_.find(key);
        if (found != numbers_.end()) return found->second;
        const auto number = static_cast<std::uint32_t>(numbers_.size());
        numbers_.emplace(std::string(key), number);
        return number;
    }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
    };
    std::unordered_map<std::string, std::uint32_t, Hash, std::equal_to<>> numbers_;
};

// One version of a module, scanned and reduced to numbered statements.
struct ScannedModule {
    ModuleStatements statements;
    std::vector<Procedure> procedures;
    Symbols symbols;       // one per statement
    Symbols declarations;  // the statements outside every procedure, the module header excluded

    Symbols ProcedureSymbols(const Procedure& procedure) const
    {
        return Symbols(symbols.begin() + procedure.firstStatement, symbols.begin() + procedure.lastStatement + 1);
    }
};

// A standard module's first statement "Attribute VB_Name = ..." (in any
// case) names the module; it is the module's header, not a statement.
bool IsModuleNameHeader(const ModuleStatements& module, ModuleKind kind)
{
    if (kind != ModuleKind::Bas || module.statements.empty()) return false;
    std::string_view first = module.PiecesOf(module.statements.front()).front().text;
    const std::size_t start = first.find_first_not_of(kBlanks);
    first = start == std::string_view::npos ? std::string_view() : first.substr(start);
    return first.size() >= kModuleNameAttribute.size() &&
           FoldCase(first.substr(0, kModuleNameAttribute.size()), nullptr) == kModuleNameAttribute;
}

// Scans the text; with a table, also numbers the statements and collects
// the declarations section.
void Scan(std::string_view text, ModuleKind kind, LeadByteTest isLeadByte, SymbolTable* table, ScannedModule& out)
{
    ScanStatements(text, kind, out.statements);
    out.procedures = FindProcedures(out.statements);
    const std::size_t count = out.statements.statements.size();
    out.symbols.reserve(count);
    std::string key;
    for (const Statement& statement : out.statements.statements) {
        key.clear();
        if (table != nullptr) AppendStatementKey(out.statements.PiecesOf(statement), isLeadByte, key);
        out.symbols.push_back(table != nullptr ? table->Of(key) : 0);
    }
    // The module name header and the statements of procedures are not the
    // declarations section.
    std::vector<bool> notDeclarations(count, false);
    if (IsModuleNameHeader(out.statements, kind)) notDeclarations[0] = true;
    for (const Procedure& procedure : out.procedures) {
        for (std::uint32_t i = procedure.firstStatement; i <= procedure.lastStatement && i < count; ++i) {
            notDeclarations[i] = true;
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (!notDeclarations[i]) out.declarations.push_back(out.symbols[i]);
    }
}

std::int64_t Size(const Symbols& symbols) { return static_cast<std::int64_t>(symbols.size()); }

DiffRow DeclarationsRow(RowStatus status, std::optional<ChangeCounts> counts)
{
    DiffRow row;
    row.declarations = true;
    row.status = status;
    row.counts = counts;
    return row;
}

DiffRow ProcedureRow(const Procedure& procedure, RowStatus status, std::optional<ChangeCounts> counts)
{
    DiffRow row;
    row.kind = procedure.kind;
    row.name = procedure.name;
    row.status = status;
    row.counts = counts;
    return row;
}

DiffRow MatchedRow(DiffRow row, const Symbols& older, const Symbols& newer)
{
    const auto common = static_cast<std::int64_t>(CommonSubsequenceLength(older, newer));
    row.counts = CountMatchedPair(Size(older), Size(newer), common);
    row.status = row.counts->AnyChange() ? RowStatus::Changed : RowStatus::Unchanged;
    return row;
}

// Every row of a module present in one version only.
void OneSidedRows(const ScannedModule& module, bool added, ModuleDiff& diff)
{
    const auto count = [added](std::int64_t steps) { return added ? CountAdded(steps) : CountDeleted(steps); };
    const RowStatus status = added ? RowStatus::Added : RowStatus::Deleted;
    diff.rows.push_back(DeclarationsRow(status, count(Size(module.declarations))));
    for (const Procedure& procedure : module.procedures) {
        diff.rows.push_back(ProcedureRow(procedure, status, count(procedure.Steps())));
    }
}

// Procedures pair by kind and name (any case); the k-th of a name in the
// new version with the k-th in the old.
void PairedRows(const ScannedModule& older, const ScannedModule& newer, LeadByteTest isLeadByte, ModuleDiff& diff)
{
    using Key = std::pair<ProcedureKind, std::string>;
    std::map<Key, std::vector<std::size_t>> oldByKey;
    for (std::size_t i = 0; i < older.procedures.size(); ++i) {
        const Procedure& procedure = older.procedures[i];
        oldByKey[{procedure.kind, FoldCase(procedure.name, isLeadByte)}].push_back(i);
    }
    std::map<Key, std::size_t> seen;
    std::vector<bool> oldMatched(older.procedures.size(), false);

    diff.rows.push_back(MatchedRow(DeclarationsRow(RowStatus::Unchanged, {}), older.declarations, newer.declarations));
    for (const Procedure& procedure : newer.procedures) {
        Key key{procedure.kind, FoldCase(procedure.name, isLeadByte)};
        const std::size_t occurrence = seen[key]++;
        const auto found = oldByKey.find(key);
        if (found == oldByKey.end() || occurrence >= found->second.size()) {
            diff.rows.push_back(ProcedureRow(procedure, RowStatus::Added, CountAdded(procedure.Steps())));
            continue;
        }
        const Procedure& old = older.procedures[found->second[occurrence]];
        oldMatched[found->second[occurrence]] = true;
        diff.rows.push_back(MatchedRow(ProcedureRow(procedure, RowStatus::Unchanged, {}), older.ProcedureSymbols(old),
                                       newer.ProcedureSymbols(procedure)));
    }
    for (std::size_t i = 0; i < older.procedures.size(); ++i) {
        if (oldMatched[i]) continue;
        const Procedure& procedure = older.procedures[i];
        diff.rows.push_back(ProcedureRow(procedure, RowStatus::Deleted, CountDeleted(procedure.Steps())));
    }
}

// Both versions hold the same bytes: every row is unchanged, and the
// statements need no keys.
void IdenticalRows(const ScannedModule& module, ModuleDiff& diff)
{
    const auto same = [](std::int64_t steps) { return CountMatchedPair(steps, steps, steps); };
    diff.rows.push_back(DeclarationsRow(RowStatus::Unchanged, same(Size(module.declarations))));
    for (const Procedure& procedure : module.procedures) {
        diff.rows.push_back(ProcedureRow(procedure, RowStatus::Unchanged, same(procedure.Steps())));
    }
}

RowStatus FailureOf(const ModuleVersion* source)
{
    return source->state == SourceState::Missing ? RowStatus::Missing : RowStatus::Unreadable;
}

bool Failed(const ModuleVersion* source) { return source != nullptr && source->state != SourceState::Read; }

}  // namespace

std::string_view RowStatusText(RowStatus status) { return kRowStatusTexts[static_cast<std::size_t>(status)]; }

ChangeCounts ModuleDiff::Totals() const
{
    ChangeCounts totals;
    for (const DiffRow& row : rows) {
        if (row.counts) totals += *row.counts;
    }
    return totals;
}

ModuleDiff DiffModule(ModuleKind kind, std::string file, const ModuleVersion* older, const ModuleVersion* newer,
                      LeadByteTest isLeadByte)
{
    ModuleDiff diff;
    diff.kind = kind;
    diff.file = std::move(file);

    SymbolTable table;
    ScannedModule oldModule, newModule;
    const bool oldRead = older != nullptr && older->state == SourceState::Read;
    const bool newRead = newer != nullptr && newer->state == SourceState::Read;
    const bool identical = oldRead && newRead && older->text == newer->text;
    if (oldRead && !identical) Scan(older->text, kind, isLeadByte, &table, oldModule);
    if (newRead) Scan(newer->text, kind, isLeadByte, identical ? nullptr : &table, newModule);

    if (Failed(newer) || Failed(older)) {
        // The rows of the version that could be read, all without figures.
        diff.status = Failed(newer) ? FailureOf(newer) : FailureOf(older);
        diff.rows.push_back(DeclarationsRow(diff.status, {}));
        const ScannedModule* readable = newRead ? &newModule : oldRead ? &oldModule : nullptr;
        if (readable != nullptr) {
            for (const Procedure& procedure : readable->procedures) {
                diff.rows.push_back(ProcedureRow(procedure, diff.status, {}));
            }
        }
        return diff;
    }

    if (HasHeader(kind)) {
        const bool same = identical || (oldRead && newRead && oldModule.statements.header == newModule.statements.header);
        diff.designer = same ? DesignerChange::No : DesignerChange::Yes;
    }
    if (!oldRead) {
        diff.status = RowStatus::Added;
        OneSidedRows(newModule, true, diff);
    } else if (!newRead) {
        diff.status = RowStatus::Deleted;
        OneSidedRows(oldModule, false, diff);
    } else if (identical) {
        diff.status = RowStatus::Unchanged;
        IdenticalRows(newModule, diff);
    } else {
        PairedRows(oldModule, newModule, isLeadByte, diff);
        diff.status = RowStatus::Unchanged;
        for (const DiffRow& row : diff.rows) {
            if (row.status != RowStatus::Unchanged) diff.status = RowStatus::Changed;
        }
    }
    return diff;
}

}  // namespace kolvane
