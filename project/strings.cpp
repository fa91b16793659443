#include "project/strings.h"

#include <cstdio>
#include <cstring>

namespace kolvane {
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

std::size_t Occurrences::Find(std::size_t from) const
{
    const char anchor = pattern_[anchor_];
    for (std::size_t at = from + anchor_; at < text_.size(); ++at) {
        const void* hit = std::memchr(text_.data() + at, anchor, text_.size() - at);
        if (hit == nullptr) break;
        at = static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data());
        if (text_.compare(at - anchor_, pattern_.size(), pattern_) == 0) return at - anchor_;
    }
    return std::string_view::npos;
}

}  // namespace kolvane
