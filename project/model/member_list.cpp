#include "project/model/member_list.h"

#include "project/model/project_lines.h"
#include "project/model/project_reader.h"
#include "project/text/source_file.h"
#include "project/text/source_text.h"

#include <algorithm>
#include <array>
#include <optional>

namespace kolvane {
namespace {

struct LineKey {
    std::string_view key;
    ModuleKind kind;
};

// Keys that count only at the start of a line.
constexpr std::array<LineKey, 4> kLineStartKeys = {{
    {"UserControl=", ModuleKind::Ctl},
    {"PropertyPage=", ModuleKind::Pag},
    {"UserDocument=", ModuleKind::Dob},
    {"Designer=", ModuleKind::Dsr},
}};

constexpr std::array<std::string_view, 3> kStatusTexts = {"ok", "not found", "unreadable"};

bool Contains(std::string_view text, std::string_view key)
{
    return text.find(key) != std::string_view::npos;
}

struct LineMember {
    ModuleKind kind;
    std::string_view value;
};

// What a line names: the module table's rules first, then the keys that
// stand at the start of a line.
std::optional<LineMember> MemberOfLine(std::string_view line)
{
    if (Contains(line, kFormKey) && !Contains(line, kIconFormKey)) {
        return LineMember{ModuleKind::Frm, line.substr(std::min(kFormValueStart, line.size()))};
    }
    const bool module = Contains(line, kModuleKey);
    if (module || Contains(line, kClassKey)) {
        const std::size_t semicolon = line.find(';');
        if (semicolon == std::string_view::npos) return std::nullopt;
        return LineMember{module ? ModuleKind::Bas : ModuleKind::Cls,
                          line.substr(std::min(semicolon + kSkipAfterSemicolon, line.size()))};
    }
    for (const LineKey& key : kLineStartKeys) {
        if (line.starts_with(key.key)) return LineMember{key.kind, line.substr(key.key.size())};
    }
    return std::nullopt;
}

}  // namespace

std::string_view ProjectStatusText(ProjectStatus status)
{
    return kStatusTexts[static_cast<std::size_t>(status)];
}

ProjectStatus ReadMemberList(std::string_view projectPath, std::vector<Member>& members)
{
    TextBuffer text;
    return ReadMemberList(projectPath, members, text);
}

ProjectStatus ReadMemberList(std::string_view projectPath, std::vector<Member>& members, TextBuffer& text)
{
    members.clear();
    text.clear();
    if (!FileExists(projectPath)) return ProjectStatus::NotFound;
    if (ReadSourceText(projectPath, text) != ReadOutcome::Read) return ProjectStatus::Unreadable;

    ForEachProjectLine(text, [&](std::string_view line) {
        if (const std::optional<LineMember> member = MemberOfLine(line)) {
            members.push_back({member->kind, std::string(member->value), ResolveMemberPath(projectPath, member->value)});
        }
    });
    return ProjectStatus::Ok;
}

}  // namespace kolvane
