// A byte pattern looked for through two of its bytes, the rarest in source
// text, sixteen places at a time where the processor allows; only the places
// where both bytes stand are compared whole. Source text is full of blanks
// and lower-case letters, so a search from the first byte alone stops often.
#pragma once

#include <cstddef>
#include <string_view>

namespace kolvane {

class PatternSearch {
public:
    // The pattern must not be empty and must outlive the search.
    explicit PatternSearch(std::string_view pattern);

    // The start of the first occurrence in text at or after from and before
    // limit; npos when none.
    std::size_t FindIn(std::string_view text, std::size_t from, std::size_t limit = std::string_view::npos) const;

private:
    std::string_view pattern_;
    std::size_t first_;  // the places of the two bytes in the pattern
    std::size_t second_;
};

}  // namespace kolvane
