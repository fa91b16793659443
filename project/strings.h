// Byte-wise string helpers: the substring test of every line rule, and
// printf-style formatting into a string.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

namespace kolvane {

// True when text holds part anywhere: a byte-wise, case-sensitive test.
inline bool Contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

// printf-style formatting into a string of the exact length. A %s argument
// ends at its first NUL, as in the C library.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatTextV(const char* format, std::va_list arguments);

}  // namespace kolvane
