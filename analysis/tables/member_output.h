// What the outputs over the member list have in common: the member's columns
// in UTF-8, and a file that is created at the start and closed at the end,
// with a message when either fails.
#pragma once

#include "analysis/source/code_page.h"
#include "analysis/writer.h"
#include "project/text/reporter.h"

#include <string>
#include <string_view>

namespace kolvane {

// The columns that name a member, in UTF-8.
struct MemberColumns {
    std::string file;  // the file title of the member's path
    std::string path;  // the value as written in the project file
    std::string_view kind;  // "frm", "bas", ...
    std::string_view status;  // "ok", "missing", "unreadable"
};
MemberColumns ColumnsOf(const ScannedModule& module, CodePage codePage);

// The message when an output file cannot be created or written whole.
void ReportCannotCreate(Reporter& reporter, std::string_view path);
void ReportCannotWrite(Reporter& reporter, std::string_view path);

// A path as the system gives it, in UTF-8: its bytes read as UTF-8 off
// Windows, in the ANSI code page on Windows.
std::string PathToUtf8(std::string_view path);

}  // namespace kolvane
