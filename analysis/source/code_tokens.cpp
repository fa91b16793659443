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

const LineRange* StatementRanges::At(std::uint32_t line)
{
    if (held_ && current_.last >= line) return current_.first <= line ? &current_ : nullptr;
    held_ = false;
    // The statements that begin before the line do not reach it (they lie
    // between stretches read, or in ranges passed): they are passed over in
    // steps that double, as the line is most often near.
    std::size_t step = 1;
    std::size_t beyond = next_;  // the last statement found to begin before the line, plus one
    while (beyond < statements_.size() && statements_[beyond].line < line) {
        next_ = beyond + 1;
        beyond = next_ + step;
        step *= 2;
    }
    const auto from = statements_.begin() + static_cast<std::ptrdiff_t>(next_);
    const auto to = statements_.begin() + static_cast<std::ptrdiff_t>(std::min(beyond, statements_.size()));
    next_ = static_cast<std::size_t>(
        std::partition_point(from, to, [line](const Statement& statement) { return statement.line < line; }) -
        statements_.begin());
    if (next_ == statements_.size()) return nullptr;
    current_ = {statements_[next_].line, statements_[next_].lastLine, 1};
    for (++next_; next_ < statements_.size() && statements_[next_].line <= current_.last; ++next_) {
        current_.last = std::max(current_.last, statements_[next_].lastLine);
        ++current_.statements;
    }
    held_ = true;
    return current_.first <= line ? &current_ : nullptr;
}

}  // namespace code_tokens
}  // namespace kolvane
