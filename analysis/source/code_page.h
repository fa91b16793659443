// The code page of a project's source text, and its conversion to UTF-8 for
// the extended outputs. The conversion reads character by character and puts
// U+FFFD for whatever does not convert; it gives the same result everywhere.
#pragma once

#include "analysis/source/lexer.h"

#include <optional>
#include <string>
#include <string_view>

namespace kolvane {

enum class CodePage { Cp932, Cp1252, Utf8 };

// Shift_JIS lead bytes, fixed, so that a scan reads the same everywhere.
constexpr bool IsShiftJisLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// The lead bytes of the code page's double-byte characters, for the readers
// of names: only Shift_JIS has double-byte characters whose second byte can
// be ASCII (null for the others).
LeadByteTest LeadBytesOf(CodePage codePage);

// "cp932", "shift_jis", "cp1252", "utf-8", ... without regard to case;
// nullopt for a name it does not know.
std::optional<CodePage> ParseCodePage(std::string_view name);

// Shift_JIS off Windows; on Windows the system's ANSI code page when it is
// one of the three, else Shift_JIS.
CodePage DefaultCodePage();

// The bytes read in the code page, as UTF-8.
std::string ToUtf8(std::string_view bytes, CodePage codePage);
// The same, appended to out.
void AppendUtf8(std::string& out, std::string_view bytes, CodePage codePage);

}  // namespace kolvane
