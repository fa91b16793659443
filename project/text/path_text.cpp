#include "project/text/path_text.h"

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

std::string PathInFolder(std::string_view folder, std::string_view name)
{
#ifdef _WIN32
    constexpr char kFolderSeparator = '\\';
#else
    constexpr char kFolderSeparator = '/';
#endif
    std::string path(folder);
    if (!path.empty() && LastSeparator(path) != path.size() - 1) path.push_back(kFolderSeparator);
    path.append(name);
    return path;
}

}  // namespace kolvane
