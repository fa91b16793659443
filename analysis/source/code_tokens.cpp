#include "analysis/source/code_tokens.h"

#include <algorithm>

namespace kolvane {

std::uint32_t LastLineOf(const ModuleScan&, const Statement& statement)
{
    return statement.lastLine;
}

namespace code_tokens {

std::vector<LineRange> StatementLines(const ModuleScan& module)
{
    std::vector<LineRange> ranges;
    for (const Statement& statement : module.statements) {
        const LineRange range{statement.line, LastLineOf(module, statement), 1};
        if (!ranges.empty() && ranges.back().last >= range.first) {
            ranges.back().last = std::max(ranges.back().last, range.last);
            ++ranges.back().statements;
        } else {
            ranges.push_back(range);
        }
    }
    return ranges;
}

}  // namespace code_tokens
}  // namespace kolvane
