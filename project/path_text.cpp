#include "project/path_text.h"

namespace kolvane {

bool IsPathSeparator(char c)
{
    return c == '\\' || c == '/';
}

std::size_t LastSeparator(std::string_view text)
{
    std::size_t last = std::string_view::npos;
    ForEachSeparator(text, [&](std::size_t position) { last = position; });
    return last;
}

std::string_view FileTitle(std::string_view path)
{
    const std::size_t cut = LastSeparator(path);
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

}  // namespace kolvane
