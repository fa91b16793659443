// Every member a project file lists, of all seven kinds, in the order of its
// lines and without the module table's limits. The extended outputs stand on
// this list; the module table and the text reports keep their own reader.
#pragma once

#include "project/model/module_kind.h"
#include "project/text/text_buffer.h"

#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

struct Member {
    ModuleKind kind;
    std::string value;  // as written in the project file (after "; " for named members)
    std::string path;   // resolved as the module table resolves it
};

enum class ProjectStatus { Ok, NotFound, Unreadable };

// "ok", "not found", "unreadable".
std::string_view ProjectStatusText(ProjectStatus status);

// Reads the project file's members into members (replacing its content).
// Form=, Module= and Class= lines follow the module table's rules; the lines
// UserControl=, PropertyPage=, UserDocument= and Designer= count at the start
// of a line only and take the rest of it as the value. Lines are read whole;
// a NUL ends a line's text.
ProjectStatus ReadMemberList(std::string_view projectPath, std::vector<Member>& members);
// The same, keeping the project file's text (as read in text mode) in text.
ProjectStatus ReadMemberList(std::string_view projectPath, std::vector<Member>& members, TextBuffer& text);

// The text files of a project (or group) split into lines: LF ends a line,
// a NUL ends its text. Calls visit(line) for each, the last one included
// when it has no LF.
template <typename Visit>
void ForEachProjectLine(std::string_view text, Visit&& visit)
{
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        const std::size_t nul = line.find('\0');
        if (nul != std::string_view::npos) line = line.substr(0, nul);
        visit(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
}

}  // namespace kolvane
