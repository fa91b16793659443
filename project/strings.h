// Byte-wise string helpers. The blank is the byte 0x20 alone; a tab is not.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kolvane {

inline constexpr unsigned kRightStringMax = 255;

// True when text holds part anywhere: a byte-wise, case-sensitive test.
inline bool Contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

// The last n characters of text: text itself when it is shorter than n,
// otherwise a copy in one shared buffer that the next call overwrites.
// n is at most 255; a larger n is taken as 255.
const char* RightString(const char* text, unsigned n);

// Blank removal by mode:
//   1  copy without the leading blanks (a trailing newline included)
//   2  the first n characters without the blanks at their end
//   3  mode 1, then mode 2 over the whole result
//   4  copy without any blank
// Returns 1 for modes 1 to 4, 2 for any other mode (destination untouched).
// The result is cut to fit the destination with its terminator; modes 3 and
// 4 work through a 256-byte buffer and keep at most 255 characters.
int TrimSpaces(const char* source, std::int32_t n, unsigned mode, std::span<char> destination);

// printf-style formatting into a string of the exact length. A %s argument
// ends at its first NUL, as in the C library.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatTextV(const char* format, std::va_list arguments);

}  // namespace kolvane
