#include "analysis/source/code_tokens.h"

#include <algorithm>

namespace kolvane::code_tokens {

std::vector<LineRange> StatementLines(const ModuleScan& module)
{
    std::vector<LineRange> ranges;
    for (const Statement& statement : module.statements) {
        // The line ends inside the statement's stretch, its last one aside.
        const std::string_view stretch = module.text.substr(statement.begin, statement.end - statement.begin);
        auto lineEnds = static_cast<std::uint32_t>(std::count(stretch.begin(), stretch.end(), '\n'));
        if (stretch.ends_with('\n')) --lineEnds;
        const LineRange range{statement.line, statement.line + lineEnds};
        if (!ranges.empty() && ranges.back().last >= range.first) {
            ranges.back().last = std::max(ranges.back().last, range.last);
        } else {
            ranges.push_back(range);
        }
    }
    return ranges;
}

}  // namespace kolvane::code_tokens
