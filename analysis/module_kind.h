// Which counter or extractor a module row asks for: its three kind bytes,
// upper-cased through the platform, compared with "FRM", "BAS" and "CLS".
#pragma once

#include "project/module_table.h"

namespace kolvane {

enum class ModuleKind { Form, Standard, Class, Unknown };

ModuleKind KindOf(const ModuleEntry& entry);

}  // namespace kolvane
