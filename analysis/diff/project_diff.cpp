#include "analysis/diff/project_diff.h"

#include "analysis/run/ordered_jobs.h"
#include "project/path_text.h"
#include "project/source_file.h"
#include "project/source_text.h"

#include <map>
#include <optional>
#include <utility>

namespace kolvane {
namespace {

using TitleKey = std::pair<ModuleKind, std::string>;

TitleKey KeyOf(const Member& member, LeadByteTest isLeadByte)
{
    return {member.kind, FoldCase(FileTitle(member.path), isLeadByte)};
}

// Reads a member's file into text; the source says how that went.
ModuleVersion Read(const Member& member, TextBuffer& text)
{
    if (!FileExists(member.path)) return {SourceState::Missing, {}};
    if (ReadSourceText(member.path, text) != ReadOutcome::Read) return {SourceState::Unreadable, {}};
    return {SourceState::Read, text};
}

}  // namespace

ProjectDiff DiffProjects(std::string oldProject, std::span<const Member> older, std::string newProject,
                         std::span<const Member> newer, LeadByteTest isLeadByte)
{
    std::map<TitleKey, std::vector<std::size_t>> oldByTitle;
    for (std::size_t i = 0; i < older.size(); ++i) oldByTitle[KeyOf(older[i], isLeadByte)].push_back(i);

    // The module pairs in report order: every new member with its old
    // counterpart if any, then the old members left over.
    struct Pair {
        const Member* older;
        const Member* newer;
    };
    std::vector<Pair> pairs;
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

    // Each pair is read and compared on its own.
    const auto compare = [&](std::size_t index) {
        const Pair& pair = pairs[index];
        TextBuffer oldText, newText;
        std::optional<ModuleVersion> oldSource, newSource;
        if (pair.newer != nullptr) newSource = Read(*pair.newer, newText);
        if (pair.older != nullptr) oldSource = Read(*pair.older, oldText);
        const Member& named = pair.newer != nullptr ? *pair.newer : *pair.older;
        return DiffModule(named.kind, std::string(FileTitle(named.path)), oldSource ? &*oldSource : nullptr,
                          newSource ? &*newSource : nullptr, isLeadByte);
    };
    return ProjectDiff{std::move(oldProject), std::move(newProject), RunOrderedJobs<ModuleDiff>(pairs.size(), compare)};
}

}  // namespace kolvane
