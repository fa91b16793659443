// The kinds of member a Visual Basic project lists. The first three are the
// kinds of the module table and the text reports; the other four appear in
// the extended outputs only.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace kolvane {

enum class ModuleKind { Frm, Bas, Cls, Ctl, Pag, Dob, Dsr };

inline constexpr std::size_t kModuleKindCount = 7;
inline constexpr std::size_t kTableKindCount = 3;  // frm, bas, cls

inline constexpr std::array<std::string_view, kModuleKindCount> kModuleKindTexts = {"frm", "bas", "cls", "ctl",
                                                                                    "pag", "dob", "dsr"};

// "frm", "bas", ... (lower case).
constexpr std::string_view KindText(ModuleKind kind)
{
    return kModuleKindTexts[static_cast<std::size_t>(kind)];
}

// Every kind but the standard module opens with a designer or attribute
// header that ends with the line holding "Attribute VB_Exposed".
constexpr bool HasHeader(ModuleKind kind)
{
    return kind != ModuleKind::Bas;
}

}  // namespace kolvane
