#include "analysis/diff/project_diff.h"

#include "analysis/diff/diff_tables.h"
#include "analysis/diff/diff_text_report.h"
#include "project/text/messages.h"
#include "project/text/path_text.h"

#include <map>
#include <utility>

namespace kolvane {
namespace {

using TitleKey = std::pair<ModuleKind, std::string>;

constexpr std::string_view kTextSuffix = "_Diff.txt";
constexpr std::string_view kCsvSuffix = "_Diff.csv";
constexpr std::string_view kJsonSuffix = "_Diff.json";

TitleKey KeyOf(const Member& member, LeadByteTest isLeadByte)
{
    return {member.kind, FoldCase(FileTitle(member.path), isLeadByte)};
}

// Where the output with the suffix goes: named after the new project, or
// the old one when there is no new version.
std::string ReportPath(const OutputContext& context, std::string_view suffix)
{
    if (!context.projectPath.empty()) return context.PathFor(suffix);
    OutputContext named = context;
    named.projectPath = context.previousProjectPath;
    return named.PathFor(suffix);
}

// A module pair's rows, moved into the report at the pair's turn: a
// prepared module is taken once, so its rows need no copy.
struct ComparedModule final : PreparedModule {
    explicit ComparedModule(ModuleDiff compared) : diff(std::move(compared)) {}
    mutable ModuleDiff diff;
};

// A module pair's rows, worked out ahead of its turn; the report written
// once every pair is in.
class ChangeCountWriter final : public Writer {
public:
    using Write = bool (*)(const ProjectDiff& diff, std::string_view path, CodePage codePage);

    ChangeCountWriter(const OutputContext& context, std::string_view suffix, Write write)
        : context_(context), path_(ReportPath(context, suffix)), write_(write)
    {
        diff_.oldProject = context.previousProjectPath;
        diff_.newProject = context.projectPath;
    }

    bool Begin(Reporter&) override { return true; }

    std::unique_ptr<PreparedModule> Prepare(const ModuleTurn& turn) const override
    {
        return std::make_unique<ComparedModule>(Compare(turn));
    }

    bool Take(const ModuleTurn& turn, const PreparedModule* prepared, Reporter&) override
    {
        const auto* compared = dynamic_cast<const ComparedModule*>(prepared);
        diff_.modules.push_back(compared != nullptr ? std::move(compared->diff) : Compare(turn));
        return true;
    }

    bool Finish(Reporter& reporter) override
    {
        if (write_(diff_, path_, context_.codePage)) return true;
        reporter.Message(message::kCannotWrite, message::kOutputCaption);
        return false;
    }

    std::vector<std::string> Files() const override { return {path_}; }

    void Summarize(ProjectFigures& figures) const override { figures.changes = SummarizeChanges(diff_); }

private:
    ModuleDiff Compare(const ModuleTurn& turn) const
    {
        const ScannedModule& named = turn.module != nullptr ? *turn.module : *turn.previous;
        return DiffModule(named.kind, std::string(FileTitle(named.path)), turn.previous, turn.module,
                          LeadBytesOf(context_.codePage));
    }

    const OutputContext& context_;
    std::string path_;
    Write write_;
    ProjectDiff diff_;
};

bool WriteText(const ProjectDiff& diff, std::string_view path, CodePage)
{
    return WriteDiffTextReport(diff, path);
}

}  // namespace

ChangeFigures SummarizeChanges(const ProjectDiff& diff)
{
    ChangeFigures figures;
    for (const ModuleDiff& module : diff.modules) {
        figures.counts += module.Totals();
        if (module.designer == DesignerChange::Yes) {
            ++figures.designerChangedModules;
            figures.changed = true;
        }
        for (const DiffRow& row : module.rows) {
            if (row.status == RowStatus::Added || row.status == RowStatus::Changed || row.status == RowStatus::Deleted) {
                figures.changed = true;
            }
        }
    }
    return figures;
}

std::vector<ModulePair> PairModules(std::span<const Member> older, std::span<const Member> newer,
                                   LeadByteTest isLeadByte)
{
    std::map<TitleKey, std::vector<std::size_t>> oldByTitle;
    for (std::size_t i = 0; i < older.size(); ++i) oldByTitle[KeyOf(older[i], isLeadByte)].push_back(i);

    // Every new member with its old counterpart if any, then the old
    // members left over.
    std::vector<ModulePair> pairs;
    std::map<TitleKey, std::size_t> seen;
    std::vector<bool> oldMatched(older.size(), false);
    for (const Member& member : newer) {
        const TitleKey key = KeyOf(member, isLeadByte);
        const std::size_t occurrence = seen[key]++;
        const auto found = oldByTitle.find(key);
        const Member* counterpart = nullptr;
        if (found != oldByTitle.end() && occurrence < found->second.size()) {
            const std::size_t index = found->second[occurrence];
            oldMatched[index] = true;
            counterpart = &older[index];
        }
        pairs.push_back({counterpart, &member});
    }
    for (std::size_t i = 0; i < older.size(); ++i) {
        if (!oldMatched[i]) pairs.push_back({&older[i], nullptr});
    }
    return pairs;
}

std::unique_ptr<Writer> MakeDiffText(const OutputContext& context)
{
    return std::make_unique<ChangeCountWriter>(context, kTextSuffix, &WriteText);
}

std::unique_ptr<Writer> MakeDiffCsv(const OutputContext& context)
{
    return std::make_unique<ChangeCountWriter>(context, kCsvSuffix, &WriteDiffCsv);
}

std::unique_ptr<Writer> MakeDiffJson(const OutputContext& context)
{
    return std::make_unique<ChangeCountWriter>(context, kJsonSuffix, &WriteDiffJson);
}

}  // namespace kolvane
