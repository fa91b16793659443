// Win32 side of the platform seam: CharUpperBuffA, the lead bytes of the
// system's ANSI code page, and paths through the ANSI API.
#include "project/text/platform.h"

#include "project/text/path_text.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

void UpperCaseKind(char (&kind)[3])
{
    CharUpperBuffA(kind, 3);
}

bool IsLeadByte(unsigned char byte)
{
    return IsDBCSLeadByte(byte) != FALSE;
}

unsigned AnsiCodePage()
{
    return GetACP();
}

}  // namespace kolvane

namespace kolvane {

std::string AbsoluteFolder(std::string_view folder)
{
    const std::string name = folder.empty() ? std::string(".") : std::string(folder);
    std::string absolute(GetFullPathNameA(name.c_str(), 0, nullptr, nullptr), '\0');
    if (absolute.empty()) return std::string(folder);
    const DWORD length = GetFullPathNameA(name.c_str(), static_cast<DWORD>(absolute.size()), absolute.data(), nullptr);
    if (length == 0 || length >= absolute.size()) return std::string(folder);
    absolute.resize(length);
    if (LastSeparator(absolute) != absolute.size() - 1) absolute.push_back('\\');
    return absolute;
}

bool MakeFolder(std::string_view folder)
{
    const auto isFolder = [](const std::string& path) {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    };
    // Each folder on the way, then the folder itself; a drive or a folder
    // already there is passed over.
    const std::string path(folder);
    std::vector<std::size_t> ends;
    ForEachSeparator(path, [&](std::size_t at) { ends.push_back(at); });
    ends.push_back(path.size());
    for (const std::size_t end : ends) {
        const std::string part = path.substr(0, end);
        if (part.empty() || part.back() == ':' || isFolder(part)) continue;
        CreateDirectoryA(part.c_str(), nullptr);
    }
    return isFolder(path);
}

}  // namespace kolvane
