// Byte-wise string helpers: the substring tests of the line rules, and
// printf-style formatting into a string.
#pragma once

#include "project/pattern_search.h"

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

// The places of a pattern in a text, met front to back: where the next
// occurrence at or after a position begins, without searching again for
// positions the last answer already covers.
class Occurrences {
public:
    Occurrences(std::string_view text, std::string_view pattern) : text_(text), search_(pattern) {}

    // The start of the first occurrence at or after from (npos when none).
    // Positions asked for never go back.
    std::size_t NextFrom(std::size_t from)
    {
        if (next_ == kUnsearched || (next_ != std::string_view::npos && next_ < from)) {
            next_ = search_.FindIn(text_, from);
        }
        return next_;
    }

private:
    static constexpr std::size_t kUnsearched = std::string_view::npos - 1;

    std::string_view text_;
    PatternSearch search_;
    std::size_t next_ = kUnsearched;
};

// printf-style formatting into a string of the exact length. A %s argument
// ends at its first NUL, as in the C library.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatTextV(const char* format, std::va_list arguments);

}  // namespace kolvane
