#include "analysis/source/code_tokens.h"

#include <algorithm>

namespace kolvane {
namespace {

constexpr std::string_view kContinuation = " _";

}  // namespace

CodeLine FirstCodeLine(const ModuleScan& module)
{
    return {module.codeStart, module.codeLine};
}

CodeLine ReadingStart(const ModuleScan& module, std::size_t offset, std::uint32_t number, CodeLine floor)
{
    const std::string_view text = module.text;
    const std::size_t lineEnd = offset == 0 ? std::string_view::npos : text.rfind('\n', offset - 1);
    CodeLine start{lineEnd == std::string_view::npos ? 0 : lineEnd + 1, number};
    start.offset = std::max(start.offset, floor.offset);
    while (start.offset > floor.offset) {
        // The line before, without its line end.
        const std::size_t before = start.offset - 1;
        const std::size_t previousEnd = before == 0 ? std::string_view::npos : text.rfind('\n', before - 1);
        const std::size_t previous =
            std::max(previousEnd == std::string_view::npos ? 0 : previousEnd + 1, floor.offset);
        if (text.substr(previous, before - previous).find(kContinuation) == std::string_view::npos) break;
        start = {previous, start.number - 1};
    }
    return start;
}

namespace code_tokens {

std::uint32_t StatementRanges::LastLine(std::uint32_t number)
{
    const std::vector<Statement>& statements = module_.statements;
    if (held_ && last_ < number) held_ = false;
    if (!held_) {
        // The statements that begin before the line do not reach it (they
        // lie between stretches read): they are passed over in steps that
        // double, as the line is most often near.
        std::size_t step = 1;
        std::size_t beyond = next_;  // the last statement found to begin before the line, plus one
        while (beyond < statements.size() && statements[beyond].line < number) {
            next_ = beyond + 1;
            beyond = next_ + step;
            step *= 2;
        }
        const auto from = statements.begin() + static_cast<std::ptrdiff_t>(next_);
        const auto to = statements.begin() + static_cast<std::ptrdiff_t>(std::min(beyond, statements.size()));
        next_ = static_cast<std::size_t>(
            std::partition_point(from, to, [number](const Statement& statement) { return statement.line < number; }) -
            statements.begin());
        if (next_ == statements.size()) return number;
        first_ = statements[next_].line;
        last_ = LastLineOf(next_++);
        while (next_ < statements.size() && statements[next_].line <= last_) {
            last_ = std::max(last_, LastLineOf(next_++));
        }
        held_ = true;
    }
    return first_ <= number ? last_ : number;
}

std::uint32_t StatementRanges::LastLineOf(std::size_t index) const
{
    const std::vector<Statement>& statements = module_.statements;
    const Statement& statement = statements[index];
    // The line ends inside the statement's stretch, its last one aside. A
    // stretch that ends its line while the next statement begins on the line
    // after it is one line: most are, and need no count.
    std::string_view stretch = module_.text.substr(statement.begin, statement.end - statement.begin);
    const bool endsLine = stretch.ends_with('\n');
    if (endsLine) stretch.remove_suffix(1);
    if (endsLine && index + 1 < statements.size() && statements[index + 1].line == statement.line + 1) {
        return statement.line;
    }
    std::uint32_t last = statement.line;
    for (std::size_t at = stretch.find('\n'); at != std::string_view::npos; at = stretch.find('\n', at + 1)) ++last;
    return last;
}

}  // namespace code_tokens
}  // namespace kolvane
