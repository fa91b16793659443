#include "project/text/strings.h"

#include <cstdio>
#include <cstring>

namespace kolvane {
namespace {

// Most texts formatted are a line of a report: they fit this at the first try.
constexpr std::size_t kFirstTry = 127;

}  // namespace

// Formats into a string of kFirstTry characters (its terminating NUL is the
// string's own), and once more into one of the exact length when the text
// is longer.
std::string FormatTextV(const char* format, std::va_list arguments)
{
    std::va_list retry;
    va_copy(retry, arguments);
    std::string text(kFirstTry, '\0');
    const int length = std::vsnprintf(text.data(), text.size() + 1, format, arguments);
    if (length < 0) {
        va_end(retry);
        return {};
    }
    const auto size = static_cast<std::size_t>(length);
    if (size > kFirstTry) {
        text.assign(size, '\0');
        std::vsnprintf(text.data(), text.size() + 1, format, retry);
    }
    va_end(retry);
    text.resize(size);
    return text;
}

std::string FormatText(const char* format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    std::string text = FormatTextV(format, arguments);
    va_end(arguments);
    return text;
}

}  // namespace kolvane
