// Byte-wise string helpers: the substring tests of the line rules, and
// printf-style formatting into a string.
#pragma once

#include "project/text/pattern_search.h"

#include <algorithm>
#include <cstdarg>
#include <cstddef>
#include <string>
#include <string_view>

namespace kolvane {

// True when text holds part anywhere: a byte-wise, case-sensitive test.
inline bool Contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

// The places of a pattern in a text, met front to back. The search runs a
// stretch ahead of the positions asked for and no further, so that it reads
// the text while the caller's own reading has it at hand; what a search has
// found, or found free of the pattern, is not searched again.
class Occurrences {
public:
    Occurrences(std::string_view text, std::string_view pattern) : text_(text), search_(pattern) {}

    // The start of the first occurrence at or after from and before limit
    // (npos when none). Positions asked for never go back.
    std::size_t NextBefore(std::size_t from, std::size_t limit)
    {
        if (!(found_ && next_ >= from)) {
            const std::size_t start = std::max(from, clearTo_);
            if (start >= limit) return std::string_view::npos;  // [from, limit) is known to be free
            const std::size_t reach = limit - start < kLookAhead ? start + kLookAhead : limit;
            next_ = search_.FindIn(text_, start, reach);
            found_ = next_ != std::string_view::npos;
            clearTo_ = found_ ? next_ : reach;
        }
        return found_ && next_ < limit ? next_ : std::string_view::npos;
    }

    // The start of the first occurrence at or after from (npos when none).
    std::size_t NextFrom(std::size_t from) { return NextBefore(from, std::string_view::npos); }

private:
    static constexpr std::size_t kLookAhead = 16 << 10;

    std::string_view text_;
    PatternSearch search_;
    std::size_t next_ = 0;  // when found_: the first occurrence at or after clearTo_
    std::size_t clearTo_ = 0;  // no occurrence starts before this, from the positions asked
    bool found_ = false;
};

// printf-style formatting into a string of the exact length. A %s argument
// ends at its first NUL, as in the C library.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatTextV(const char* format, std::va_list arguments);

}  // namespace kolvane
