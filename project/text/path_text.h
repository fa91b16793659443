// Folder separators in paths held as multibyte text. Searches read whole
// characters, so the trail byte of a double-byte character (0x5C in many
// Shift_JIS kanji) is never taken for a backslash.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kolvane {

// A byte that can follow a lead byte in a double-byte character. '/' cannot,
// so a folder named in UTF-8 on Linux never hides the separator after it.
constexpr bool IsTrailByte(unsigned char byte)
{
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// '\' and '/', as Windows itself reads them: a project named "sub/P.vbp"
// finds its folder and its title on every platform.
bool IsPathSeparator(char c);

// Calls visit(position) for every separator of text, front to back.
template <typename Visit>
void ForEachSeparator(std::string_view text, Visit&& visit);

// Position of the last separator, or npos when there is none.
std::size_t LastSeparator(std::string_view text);

// The last component of a path, extension included ("Main.frm" of
// "C:\Work\Forms\Main.frm"); the whole path when it has no separator.
std::string_view FileTitle(std::string_view path);

// The folder, the platform's separator unless the folder ends in one
// already, and the name; the name alone for an empty folder.
std::string PathInFolder(std::string_view folder, std::string_view name);

}  // namespace kolvane

#include "project/text/platform.h"

template <typename Visit>
void kolvane::ForEachSeparator(std::string_view text, Visit&& visit)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (IsLeadByte(byte) && i + 1 < text.size() && IsTrailByte(static_cast<unsigned char>(text[i + 1]))) {
            ++i;  // the trail byte belongs to this character
        } else if (IsPathSeparator(text[i])) {
            visit(i);
        }
    }
}
