#include "analysis/project_diff.h"

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
ModuleVersion Read(const Member& member, std::string& text)
{
    if (!FileExists(member.path)) return {SourceState::Missing, {}};
    if (ReadSourceText(member.path, text) != ReadOutcome::Read) return {SourceState::Unreadable, {}};
    return {SourceState::Read, text};
}

}  // namespace

ProjectDiff DiffProjects(std::string oldProject, std::span<const Member> older, std::string newProject,
                         std::span<const Member> newer, LeadByteTest isLeadByte)
{
    ProjectDiff diff{std::move(oldProject), std::move(newProject), {}};
    std::map<TitleKey, std::vector<std::size_t>> oldByTitle;
    for (std::size_t i = 0; i < older.size(); ++i) oldByTitle[KeyOf(older[i], isLeadByte)].push_back(i);
    std::map<TitleKey, std::size_t> seen;
    std::vector<bool> oldMatched(older.size(), false);

    std::string oldText, newText;
    for (const Member& member : newer) {
        TitleKey key = KeyOf(member, isLeadByte);
        const std::size_t occurrence = seen[key]++;
        const auto found = oldByTitle.find(key);
        const ModuleVersion newSource = Read(member, newText);
        std::optional<ModuleVersion> oldSource;
        if (found != oldByTitle.end() && occurrence < found->second.size()) {
            const std::size_t index = found->second[occurrence];
            oldMatched[index] = true;
            oldSource = Read(older[index], oldText);
        }
        diff.modules.push_back(DiffModule(member.kind, std::string(FileTitle(member.path)),
                                          oldSource ? &*oldSource : nullptr, &newSource, isLeadByte));
    }
    for (std::size_t i = 0; i < older.size(); ++i) {
        if (oldMatched[i]) continue;
        const ModuleVersion oldSource = Read(older[i], oldText);
        diff.modules.push_back(
            DiffModule(older[i].kind, std::string(FileTitle(older[i].path)), &oldSource, nullptr, isLeadByte));
    }
    return diff;
}

}  // namespace kolvane
