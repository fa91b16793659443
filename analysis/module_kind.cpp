#include "analysis/module_kind.h"

#include "project/platform.h"

#include <cstring>

namespace kolvane {

ModuleKind KindOf(const ModuleEntry& entry)
{
    char kind[kKindLength];
    std::memcpy(kind, entry.kind, kKindLength);
    UpperCaseKind(kind);
    if (std::memcmp(kind, "FRM", kKindLength) == 0) return ModuleKind::Form;
    if (std::memcmp(kind, "BAS", kKindLength) == 0) return ModuleKind::Standard;
    if (std::memcmp(kind, "CLS", kKindLength) == 0) return ModuleKind::Class;
    return ModuleKind::Unknown;
}

}  // namespace kolvane
