// Win32 side of the platform seam: CharUpperBuffA and the lead bytes of the
// system's ANSI code page.
#include "project/text/platform.h"

#include "project/text/path_text.h"

#include <windows.h>

#include <string>
#include <string_view>

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

}  // namespace kolvane
