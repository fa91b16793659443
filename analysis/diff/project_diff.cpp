#include "analysis/diff/project_diff.h"

#include "analysis/diff/diff_tables.h"
#include "analysis/diff/diff_text_report.h"
#include "project/text/messages.h"
#include "project/text/path_text.h"

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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

// A module pair compared and its part of the output made, ahead of its turn.
struct ComparedModule final : PreparedModule {
    ModuleDiff diff;
    std::string part;
};

// The module pairs compared and their parts made on the reading threads;
// at each pair's turn its part is written and its figures join the totals;
// the output's tail once every pair is in.
class ChangeCountWriter final : public Writer {
public:
    ChangeCountWriter(const OutputContext& context, std::string_view suffix, std::unique_ptr<DiffFormat> format)
        : context_(context), path_(ReportPath(context, suffix)), format_(std::move(format))
    {
    }

    bool Begin(Reporter&) override
    {
        // A file that cannot be made is told by Finish, as a failed write is.
        file_.emplace(*format_, path_, DiffHeading{context_.previousProjectPath, context_.projectPath});
        return true;
    }

    std::unique_ptr<PreparedModule> Prepare(const ModuleTurn& turn) const override
    {
        auto compared = std::make_unique<ComparedModule>();
        compared->diff = Compare(turn);
        format_->AppendModule(compared->diff, compared->part);
        return compared;
    }

    bool Take(const ModuleTurn& turn, const PreparedModule* prepared, Reporter&) override
    {
        if (const auto* compared = dynamic_cast<const ComparedModule*>(prepared)) {
            file_->Append(compared->part);
            totals_.Add(compared->diff);
            return true;
        }
        const ModuleDiff diff = Compare(turn);
        std::string part;
        format_->AppendModule(diff, part);
        file_->Append(part);
        totals_.Add(diff);
        return true;
    }

    bool TakesPreparedModules() const override { return false; }

    bool Finish(Reporter& reporter) override
    {
        const bool written = file_->Close(totals_);
        file_.reset();
        if (written) return true;
        reporter.Message(message::kCannotWrite, message::kOutputCaption);
        return false;
    }

    std::vector<std::string> Files() const override { return {path_}; }

    void Summarize(ProjectFigures& figures) const override { figures.changes = totals_.figures; }

private:
    ModuleDiff Compare(const ModuleTurn& turn) const
    {
        const ScannedModule& named = turn.module != nullptr ? *turn.module : *turn.previous;
        return DiffModule(named.kind, std::string(FileTitle(named.path)), turn.previous, turn.module,
                          LeadBytesOf(context_.codePage));
    }

    const OutputContext& context_;
    std::string path_;
    std::unique_ptr<DiffFormat> format_;
    std::optional<DiffOutputFile> file_;  // from Begin to Finish
    DiffTotals totals_;
};

}  // namespace

ChangeFigures SummarizeChanges(const ProjectDiff& diff)
{
    DiffTotals totals;
    for (const ModuleDiff& module : diff.modules) totals.Add(module);
    return totals.figures;
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
    return std::make_unique<ChangeCountWriter>(context, kTextSuffix, MakeDiffTextFormat());
}

std::unique_ptr<Writer> MakeDiffCsv(const OutputContext& context)
{
    return std::make_unique<ChangeCountWriter>(context, kCsvSuffix, MakeDiffCsvFormat(context.codePage));
}

std::unique_ptr<Writer> MakeDiffJson(const OutputContext& context)
{
    return std::make_unique<ChangeCountWriter>(context, kJsonSuffix, MakeDiffJsonFormat(context.codePage));
}

}  // namespace kolvane
