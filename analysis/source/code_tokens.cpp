#include "analysis/source/code_tokens.h"

#include <algorithm>

namespace kolvane {

std::uint32_t LastLineOf(const ModuleScan&, const Statement& statement)
{
    return statement.lastLine;
}

}  // namespace kolvane
