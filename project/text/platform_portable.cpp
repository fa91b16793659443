// Portable side of the platform seam: Shift_JIS lead bytes and ASCII upper case.
#include "project/text/platform.h"

namespace kolvane {
namespace {

constexpr unsigned kShiftJisCodePage = 932;

}  // namespace

void UpperCaseKind(char (&kind)[3])
{
    for (char& c : kind) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
}

bool IsLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

unsigned AnsiCodePage()
{
    return kShiftJisCodePage;
}

}  // namespace kolvane

#include <filesystem>
#include <system_error>

namespace kolvane {

std::string AbsoluteFolder(std::string_view folder)
{
    std::error_code error;
    std::string absolute = std::filesystem::current_path(error).string();
    if (error) return std::string(folder);
    if (absolute.empty() || absolute.back() != '/') absolute.push_back('/');
    absolute.append(folder);
    return absolute;
}

bool MakeFolder(std::string_view folder)
{
    std::error_code error;
    const std::filesystem::path path{std::string(folder)};
    std::filesystem::create_directories(path, error);
    return std::filesystem::is_directory(path, error);
}

}  // namespace kolvane
