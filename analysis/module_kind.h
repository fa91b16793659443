// Which counter or extractor a module row asks for: its three kind bytes,
// upper-cased through the platform, compared with "FRM", "BAS" and "CLS".
#pragma once

#include "project/module_table.h"

#include <array>
#include <cstddef>

namespace kolvane {

enum class ModuleKind { Form, Standard, Class, Unknown };

ModuleKind KindOf(const ModuleEntry& entry);

// What a report writer does for each kind, in the order form, standard
// module, class module.
template <typename Step>
using PerKind = std::array<Step, 3>;

// The entry of a row's kind, or null for a kind that is none of the three.
template <typename Step>
const Step* StepFor(const ModuleEntry& entry, const PerKind<Step>& steps)
{
    const ModuleKind kind = KindOf(entry);
    return kind == ModuleKind::Unknown ? nullptr : &steps[static_cast<std::size_t>(kind)];
}

}  // namespace kolvane
