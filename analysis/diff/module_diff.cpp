#include "analysis/diff/module_diff.h"

#include "analysis/diff/common_subsequence.h"
#include "project/text/text_hash.h"
#include "project/text/text_numbers.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <map>
#include <utility>

namespace kolvane {
namespace {

constexpr std::array<std::string_view, 6> kRowStatusTexts = {"added",     "changed", "deleted",
                                                             "unchanged", "missing", "unreadable"};
constexpr std::string_view kModuleNameAttribute = "attribute vb_name";
constexpr std::string_view kBlanks = " \t";

using Symbols = std::vector<std::uint32_t>;
using StatementList = std::vector<std::uint32_t>;  // statement numbers of a module

// A standard module's first statement "Attribute VB_Name = ..." (in any
// case) names the module; it is the module's header, not a statement.
bool IsModuleNameHeader(const ModuleScan& module, ModuleKind kind)
{
    if (kind != ModuleKind::Bas || module.statements.empty()) return false;
    std::string_view first = FirstPiece(module, module.statements.front());
    const std::size_t start = first.find_first_not_of(kBlanks);
    first = start == std::string_view::npos ? std::string_view() : first.substr(start);
    return first.size() >= kModuleNameAttribute.size() &&
           FoldCase(first.substr(0, kModuleNameAttribute.size()), nullptr) == kModuleNameAttribute;
}

// The statements outside every procedure, the module name header excluded.
StatementList DeclarationStatements(const ScannedModule& module)
{
    const auto count = static_cast<std::uint32_t>(module.scan.statements.size());
    StatementList declarations;
    std::uint32_t next = IsModuleNameHeader(module.scan, module.kind) ? 1 : 0;
    // The procedures come in file order, none inside another: the gaps between them.
    for (const Procedure& procedure : module.procedures) {
        for (; next < procedure.firstStatement; ++next) declarations.push_back(next);
        next = std::max(next, procedure.lastStatement + 1);
    }
    for (; next < count; ++next) declarations.push_back(next);
    return declarations;
}

// The statements of a comparison: a procedure's run of statements, or the
// list of a declarations section.
class Statements {
public:
    explicit Statements(const Procedure& procedure)
        : first_(procedure.firstStatement), size_(procedure.lastStatement - procedure.firstStatement + 1)
    {
    }
    explicit Statements(const StatementList& list) : list_(list.data()), size_(list.size()) {}

    std::size_t size() const { return size_; }
    bool IsRun() const { return list_ == nullptr; }  // a procedure's: numbers one after the other
    std::uint32_t operator[](std::size_t i) const
    {
        return list_ != nullptr ? list_[i] : first_ + static_cast<std::uint32_t>(i);
    }

private:
    const std::uint32_t* list_ = nullptr;
    std::uint32_t first_ = 0;
    std::size_t size_;
};

// A statement as stored: the same bytes make the same statement key.
std::string_view Stored(const ModuleScan& module, std::uint32_t statement)
{
    const Statement& s = module.statements[statement];
    return module.text.substr(s.begin, s.end - s.begin);
}

// The bytes two texts have alike at their starts, and at their ends: whole
// blocks compared by memcmp, then the block that differs word by word.
constexpr std::size_t kCompareBlock = 256;

std::size_t CommonPrefixLength(std::string_view a, std::string_view b)
{
    const std::size_t limit = std::min(a.size(), b.size());
    std::size_t at = 0;
    while (at + kCompareBlock <= limit && std::memcmp(a.data() + at, b.data() + at, kCompareBlock) == 0) {
        at += kCompareBlock;
    }
    for (std::uint64_t x, y; at + sizeof x <= limit; at += sizeof x) {
        std::memcpy(&x, a.data() + at, sizeof x);
        std::memcpy(&y, b.data() + at, sizeof y);
        if (x != y) break;
    }
    while (at < limit && a[at] == b[at]) ++at;
    return at;
}

std::size_t CommonSuffixLength(std::string_view a, std::string_view b)
{
    const std::size_t limit = std::min(a.size(), b.size());
    std::size_t back = 0;
    while (back + kCompareBlock <= limit &&
           std::memcmp(a.data() + a.size() - back - kCompareBlock, b.data() + b.size() - back - kCompareBlock,
                       kCompareBlock) == 0) {
        back += kCompareBlock;
    }
    for (std::uint64_t x, y; back + sizeof x <= limit; back += sizeof x) {
        std::memcpy(&x, a.data() + a.size() - back - sizeof x, sizeof x);
        std::memcpy(&y, b.data() + b.size() - back - sizeof y, sizeof y);
        if (x != y) break;
    }
    while (back < limit && a[a.size() - 1 - back] == b[b.size() - 1 - back]) ++back;
    return back;
}

// The statements two lists have in common, in order (the length of a
// longest common subsequence of their keys). The head and tail stored alike
// are common as they stand; keys are built for the statements between.
class StatementComparison {
public:
    StatementComparison(const ModuleScan& older, const ModuleScan& newer, LeadByteTest isLeadByte)
        : older_(older), newer_(newer), isLeadByte_(isLeadByte)
    {
    }

    std::int64_t Common(const Statements& older, const Statements& newer)
    {
        std::size_t head = RunHeadAlike(older, newer);
        while (head < older.size() && head < newer.size() &&
               Stored(older_, older[head]) == Stored(newer_, newer[head])) {
            ++head;
        }
        std::size_t tail = RunTailAlike(older, newer, head);
        while (tail < older.size() - head && tail < newer.size() - head &&
               Stored(older_, older[older.size() - 1 - tail]) == Stored(newer_, newer[newer.size() - 1 - tail])) {
            ++tail;
        }
        // The same bytes stored make the same key: each stored text is keyed once.
        const auto middle = [&](const ModuleScan& module, const Statements& list, Symbols& symbols) {
            symbols.clear();
            for (std::size_t i = head; i + tail < list.size(); ++i) {
                const std::string_view text = Stored(module, list[i]);
                const std::uint32_t stored = storedTexts_.Number(text, HashText(text));
                if (stored == keyOfStored_.size()) {  // a text met just now
                    key_.clear();
                    AppendStatementKey(module, module.statements[list[i]], isLeadByte_, key_);
                    keyOfStored_.push_back(keys_.Number(key_, HashText(key_)));
                }
                symbols.push_back(keyOfStored_[stored]);
            }
        };
        std::int64_t common = static_cast<std::int64_t>(head + tail);
        if (head + tail < older.size() && head + tail < newer.size()) {
            middle(older_, older, oldSymbols_);
            middle(newer_, newer, newSymbols_);
            common += static_cast<std::int64_t>(CommonSubsequenceLength(oldSymbols_, newSymbols_));
        }
        return common;
    }

private:
    // Two procedures' runs of statements compared as bytes at once: the
    // statements at the head stored alike are those that end before the
    // first byte that differs and stand at the same places from the runs'
    // starts. The same from the ends for the tail, within the rest.
    std::size_t RunHeadAlike(const Statements& older, const Statements& newer) const
    {
        if (!older.IsRun() || !newer.IsRun() || older.size() == 0 || newer.size() == 0) return 0;
        const std::size_t oldBase = older_.statements[older[0]].begin;
        const std::size_t newBase = newer_.statements[newer[0]].begin;
        const std::size_t alike = CommonPrefixLength(RunText(older_, older), RunText(newer_, newer));
        std::size_t head = 0;
        for (; head < older.size() && head < newer.size(); ++head) {
            const Statement& o = older_.statements[older[head]];
            const Statement& n = newer_.statements[newer[head]];
            if (o.end - oldBase > alike || o.begin - oldBase != n.begin - newBase ||
                o.end - oldBase != n.end - newBase) {
                break;
            }
        }
        return head;
    }

    std::size_t RunTailAlike(const Statements& older, const Statements& newer, std::size_t head) const
    {
        if (!older.IsRun() || !newer.IsRun() || head == older.size() || head == newer.size()) return 0;
        const std::size_t oldEnd = older_.statements[older[older.size() - 1]].end;
        const std::size_t newEnd = newer_.statements[newer[newer.size() - 1]].end;
        const std::size_t alike = CommonSuffixLength(RunText(older_, older), RunText(newer_, newer));
        std::size_t tail = 0;
        for (; tail < older.size() - head && tail < newer.size() - head; ++tail) {
            const Statement& o = older_.statements[older[older.size() - 1 - tail]];
            const Statement& n = newer_.statements[newer[newer.size() - 1 - tail]];
            if (oldEnd - o.begin > alike || oldEnd - o.begin != newEnd - n.begin || oldEnd - o.end != newEnd - n.end) {
                break;
            }
        }
        return tail;
    }

    // The bytes from a run's first statement to the end of its last.
    static std::string_view RunText(const ModuleScan& module, const Statements& run)
    {
        const std::size_t begin = module.statements[run[0]].begin;
        return module.text.substr(begin, module.statements[run[run.size() - 1]].end - begin);
    }

    const ModuleScan& older_;
    const ModuleScan& newer_;
    LeadByteTest isLeadByte_;
    TextNumbers keys_;  // statement keys
    TextNumbers storedTexts_;  // statement texts as stored
    std::vector<std::uint32_t> keyOfStored_;  // per stored text: its key's number
    std::string key_;
    Symbols oldSymbols_;
    Symbols newSymbols_;
};

std::int64_t Size(const StatementList& statements) { return static_cast<std::int64_t>(statements.size()); }

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

DiffRow MatchedRow(DiffRow row, std::int64_t oldSteps, std::int64_t newSteps, std::int64_t common)
{
    row.counts = CountMatchedPair(oldSteps, newSteps, common);
    row.status = row.counts->AnyChange() ? RowStatus::Changed : RowStatus::Unchanged;
    return row;
}

// Every row of a module present in one version only.
void OneSidedRows(const ScannedModule& module, bool added, ModuleDiff& diff)
{
    const auto count = [added](std::int64_t steps) { return added ? CountAdded(steps) : CountDeleted(steps); };
    const RowStatus status = added ? RowStatus::Added : RowStatus::Deleted;
    diff.rows.push_back(DeclarationsRow(status, count(Size(DeclarationStatements(module)))));
    for (const Procedure& procedure : module.procedures) {
        diff.rows.push_back(ProcedureRow(procedure, status, count(procedure.Steps())));
    }
}

constexpr std::size_t kUnpaired = SIZE_MAX;

// Whether the two versions hold procedures of the same kinds and names (any
// case) in the same order, as they mostly do.
bool SameProcedureOrder(const ScannedModule& older, const ScannedModule& newer, LeadByteTest isLeadByte)
{
    if (older.procedures.size() != newer.procedures.size()) return false;
    for (std::size_t i = 0; i < older.procedures.size(); ++i) {
        const Procedure& old = older.procedures[i];
        const Procedure& procedure = newer.procedures[i];
        if (old.kind != procedure.kind) return false;
        if (old.name != procedure.name && FoldCase(old.name, isLeadByte) != FoldCase(procedure.name, isLeadByte)) {
            return false;
        }
    }
    return true;
}

// Procedures pair by kind and name (any case); the k-th of a name in the
// new version with the k-th in the old. For each new procedure, the old
// one it pairs with, or kUnpaired. In the same order, each pairs with the
// one in its place.
std::vector<std::size_t> PairProcedures(const ScannedModule& older, const ScannedModule& newer, LeadByteTest isLeadByte)
{
    std::vector<std::size_t> pairs(newer.procedures.size(), kUnpaired);
    if (SameProcedureOrder(older, newer, isLeadByte)) {
        for (std::size_t i = 0; i < pairs.size(); ++i) pairs[i] = i;
        return pairs;
    }
    using Key = std::pair<ProcedureKind, std::string>;
    std::map<Key, std::vector<std::size_t>> oldByKey;
    for (std::size_t i = 0; i < older.procedures.size(); ++i) {
        const Procedure& procedure = older.procedures[i];
        oldByKey[{procedure.kind, FoldCase(procedure.name, isLeadByte)}].push_back(i);
    }
    std::map<Key, std::size_t> seen;
    for (std::size_t i = 0; i < newer.procedures.size(); ++i) {
        const Procedure& procedure = newer.procedures[i];
        Key key{procedure.kind, FoldCase(procedure.name, isLeadByte)};
        const std::size_t occurrence = seen[key]++;
        const auto found = oldByKey.find(key);
        if (found != oldByKey.end() && occurrence < found->second.size()) pairs[i] = found->second[occurrence];
    }
    return pairs;
}

// The declarations row, a row for every new procedure (paired or added),
// then the old procedures left unpaired (deleted).
void PairedRows(const ScannedModule& older, const ScannedModule& newer, LeadByteTest isLeadByte, ModuleDiff& diff)
{
    StatementComparison compare(older.scan, newer.scan, isLeadByte);
    const StatementList oldDeclarations = DeclarationStatements(older);
    const StatementList newDeclarations = DeclarationStatements(newer);
    diff.rows.push_back(MatchedRow(DeclarationsRow(RowStatus::Unchanged, {}), Size(oldDeclarations),
                                   Size(newDeclarations),
                                   compare.Common(Statements(oldDeclarations), Statements(newDeclarations))));

    const std::vector<std::size_t> pairs = PairProcedures(older, newer, isLeadByte);
    std::vector<bool> oldMatched(older.procedures.size(), false);
    for (std::size_t i = 0; i < newer.procedures.size(); ++i) {
        const Procedure& procedure = newer.procedures[i];
        if (pairs[i] == kUnpaired) {
            diff.rows.push_back(ProcedureRow(procedure, RowStatus::Added, CountAdded(procedure.Steps())));
            continue;
        }
        const Procedure& old = older.procedures[pairs[i]];
        oldMatched[pairs[i]] = true;
        diff.rows.push_back(MatchedRow(ProcedureRow(procedure, RowStatus::Unchanged, {}), old.Steps(), procedure.Steps(),
                                       compare.Common(Statements(old), Statements(procedure))));
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
    diff.rows.push_back(DeclarationsRow(RowStatus::Unchanged, same(Size(DeclarationStatements(module)))));
    for (const Procedure& procedure : module.procedures) {
        diff.rows.push_back(ProcedureRow(procedure, RowStatus::Unchanged, same(procedure.Steps())));
    }
}

RowStatus FailureOf(const ScannedModule* source)
{
    return source->Status() == SourceStatus::Missing ? RowStatus::Missing : RowStatus::Unreadable;
}

bool Failed(const ScannedModule* source) { return source != nullptr && source->Status() != SourceStatus::Read; }

}  // namespace

bool SameDecodedText(std::string_view a, std::string_view b)
{
    // CR LF reads as LF: a CR right before an LF is passed over on both sides.
    const auto next = [](std::string_view text, std::size_t& at) {
        if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ++at;
        return text[at++];
    };
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (next(a, i) != next(b, j)) return false;
    }
    return i == a.size() && j == b.size();
}

std::string_view RowStatusText(RowStatus status) { return kRowStatusTexts[static_cast<std::size_t>(status)]; }

ChangeCounts ModuleDiff::Totals() const
{
    ChangeCounts totals;
    for (const DiffRow& row : rows) {
        if (row.counts) totals += *row.counts;
    }
    return totals;
}

ModuleDiff DiffModule(ModuleKind kind, std::string file, const ScannedModule* older, const ScannedModule* newer,
                      LeadByteTest isLeadByte)
{
    ModuleDiff diff;
    diff.kind = kind;
    diff.file = std::move(file);

    const bool oldRead = older != nullptr && older->Status() == SourceStatus::Read;
    const bool newRead = newer != nullptr && newer->Status() == SourceStatus::Read;
    const bool identical = oldRead && newRead && older->text.view() == newer->text.view();

    if (Failed(newer) || Failed(older)) {
        // The rows of the version that could be read, all without figures.
        diff.status = Failed(newer) ? FailureOf(newer) : FailureOf(older);
        diff.rows.push_back(DeclarationsRow(diff.status, {}));
        const ScannedModule* readable = newRead ? newer : oldRead ? older : nullptr;
        if (readable != nullptr) {
            for (const Procedure& procedure : readable->procedures) {
                diff.rows.push_back(ProcedureRow(procedure, diff.status, {}));
            }
        }
        return diff;
    }

    if (HasHeader(kind)) {
        const bool same = identical || (oldRead && newRead && SameDecodedText(older->scan.Header(), newer->scan.Header()));
        diff.designer = same ? DesignerChange::No : DesignerChange::Yes;
    }
    if (!oldRead) {
        diff.status = RowStatus::Added;
        OneSidedRows(*newer, true, diff);
    } else if (!newRead) {
        diff.status = RowStatus::Deleted;
        OneSidedRows(*older, false, diff);
    } else if (identical) {
        diff.status = RowStatus::Unchanged;
        IdenticalRows(*newer, diff);
    } else {
        PairedRows(*older, *newer, isLeadByte, diff);
        diff.status = RowStatus::Unchanged;
        for (const DiffRow& row : diff.rows) {
            if (row.status != RowStatus::Unchanged) diff.status = RowStatus::Changed;
        }
    }
    return diff;
}

}  // namespace kolvane
