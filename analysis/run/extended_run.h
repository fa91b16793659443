// One project through the extended outputs: its members read one at a time,
// each scanned once for every chosen output, figures added up for a summary.
#pragma once

#include "analysis/source/code_page.h"
#include "project/member_list.h"
#include "project/module_kind.h"
#include "project/reporter.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

enum class OutputFormat { Text, Csv, Json };

struct ExtendedChoice {
    bool steps = false;
    bool procedures = false;
    bool apis = false;
    OutputFormat format = OutputFormat::Csv;  // Text: no files, the figures only
    CodePage codePage = CodePage::Cp932;
    std::string outputFolder;  // empty: the current directory
};

// What a project came to: the summary row and the files written.
struct ProjectFigures {
    ProjectStatus status = ProjectStatus::Ok;
    std::int64_t modules = 0;
    std::array<std::int64_t, kModuleKindCount> kindModules{};
    std::int64_t steps = 0;     // of the members read
    std::int64_t comments = 0;
    std::int64_t procedures = 0;
    std::int64_t apis = 0;
    bool memberFailed = false;  // a member was missing or unreadable
    bool outputFailed = false;  // an output could not be created or written whole
    std::vector<std::string> written;
};

ProjectFigures RunExtendedProject(std::string_view projectPath, const ExtendedChoice& choice, Reporter& reporter);

// The output file names of a project: the report title ("Demo" of
// "Demo.vbp") and a suffix ("_StCnt.csv", ".json").
std::string ExtendedFileName(std::string_view projectPath, std::string_view suffix);

// A path as the system gives it, in UTF-8: its bytes read as UTF-8 off
// Windows, in the ANSI code page on Windows.
std::string PathToUtf8(std::string_view path);

}  // namespace kolvane
