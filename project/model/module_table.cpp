#include "project/model/module_table.h"

#include "project/text/platform.h"

#include <algorithm>
#include <cstring>

namespace kolvane {

std::string_view ModulePath(const ModuleEntry& entry)
{
    const char* end = std::find(entry.path, entry.path + kPathFieldSize, '\0');
    return {entry.path, static_cast<std::size_t>(end - entry.path)};
}

std::optional<ModuleKind> TableKind(const ModuleEntry& entry)
{
    static constexpr std::string_view kTableKinds[] = {"FRM", "BAS", "CLS"};
    static constexpr ModuleKind kKinds[] = {ModuleKind::Frm, ModuleKind::Bas, ModuleKind::Cls};
    char kind[kKindLength];
    std::memcpy(kind, entry.kind, kKindLength);
    UpperCaseKind(kind);
    for (std::size_t i = 0; i < std::size(kTableKinds); ++i) {
        if (std::string_view(kind, kKindLength) == kTableKinds[i]) return kKinds[i];
    }
    return std::nullopt;
}

ModuleEntry MakeModuleEntry(std::string_view kind, std::string_view path)
{
    ModuleEntry row{};
    std::memcpy(row.kind, kind.data(), std::min(kind.size(), sizeof row.kind));
    std::memcpy(row.path, path.data(), std::min(path.size(), sizeof row.path - 1));
    return row;
}

}  // namespace kolvane
