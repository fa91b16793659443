#include "project/strings.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

namespace kolvane {
namespace {

constexpr char kBlank = ' ';
constexpr std::size_t kWorkSize = 256;

std::array<char, kWorkSize> g_rightPart{};

// Copies at most destination.size() - 1 bytes and terminates.
void CopyTerminated(const char* from, std::size_t length, std::span<char> destination)
{
    if (destination.empty()) return;
    length = std::min(length, destination.size() - 1);
    std::memmove(destination.data(), from, length);
    destination[length] = '\0';
}

void TrimLeading(const char* source, std::span<char> destination)
{
    while (*source == kBlank) ++source;
    CopyTerminated(source, std::strlen(source), destination);
}

void TrimTrailing(const char* source, std::int32_t n, std::span<char> destination)
{
    // From the n-th character back towards the first while it is a blank.
    std::int32_t last = n - 1;
    while (last >= 0 && source[last] == kBlank) --last;
    CopyTerminated(source, static_cast<std::size_t>(last + 1), destination);
}

void RemoveBlanks(const char* source, std::span<char> destination)
{
    std::array<char, kWorkSize> work{};
    std::size_t used = 0;
    for (; *source != '\0' && used < work.size() - 1; ++source) {
        if (*source != kBlank) work[used++] = *source;
    }
    CopyTerminated(work.data(), used, destination);
}

}  // namespace

std::string FormatTextV(const char* format, std::va_list arguments)
{
    std::va_list measure;
    va_copy(measure, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length < 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, arguments);
    text.resize(static_cast<std::size_t>(length));
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

const char* RightString(const char* text, unsigned n)
{
    n = std::min(n, kRightStringMax);
    const std::size_t length = std::strlen(text);
    if (length < n) return text;
    g_rightPart.fill('\0');
    std::memcpy(g_rightPart.data(), text + (length - n), n);
    return g_rightPart.data();
}

int TrimSpaces(const char* source, std::int32_t n, unsigned mode, std::span<char> destination)
{
    switch (mode) {
    case 1:
        TrimLeading(source, destination);
        return 1;
    case 2:
        TrimTrailing(source, std::min<std::int32_t>(n, static_cast<std::int32_t>(std::strlen(source))),
                     destination);
        return 1;
    case 3: {
        std::array<char, kWorkSize> work{};
        TrimLeading(source, work);
        TrimTrailing(work.data(), static_cast<std::int32_t>(std::strlen(work.data())), destination);
        return 1;
    }
    case 4:
        RemoveBlanks(source, destination);
        return 1;
    default:
        return 2;
    }
}

}  // namespace kolvane
