#include "analysis/source/step_counter.h"

#include "analysis/source/module_scan.h"

#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace kolvane {
namespace {

using Counts = std::pair<int, int>;

// Steps and comments of a module's bytes, read as a file would be.
Counts CountBytes(ModuleKind kind, std::string bytes)
{
    bytes = bytes.substr(0, bytes.find('\x1A'));  // the data ends at Ctrl-Z
    ModuleScan scan;
    ScanModule(bytes, bytes.find('\0') != std::string::npos, kind, scan);
    return {scan.steps, scan.comments};
}

Counts FormCounts(std::string_view bytes) { return CountBytes(ModuleKind::Frm, std::string(bytes)); }
Counts StandardCounts(std::string_view bytes) { return CountBytes(ModuleKind::Bas, std::string(bytes)); }

constexpr std::string_view kHeader = "VERSION 5.00\r\nBegin VB.Form Form1\r\nEnd\r\nAttribute VB_Exposed = False\r\n";

// The worked examples of the counter are in step_count_report_test, inside
// the worked report.

TEST(StepCounter, HeaderGateAndCountsOfTheOwnKindOnly)
{
    // No gate line: nothing counts, however much code follows.
    EXPECT_EQ(FormCounts("Sub A()\r\n' c\r\nEnd Sub\r\n"), (Counts{0, 0}));
    // A second gate line is an ordinary line; a standard module has none.
    EXPECT_EQ(FormCounts(std::string(kHeader) + "Attribute VB_Exposed = True\r\n"), (Counts{1, 0}));
    EXPECT_EQ(StandardCounts(std::string(kHeader) + "' note\r\nx = 1\r\n"), (Counts{5 - 1, 1}));
}

struct LineCase {
    const char* name;
    std::string line;  // one line of a standard module, followed by CR LF
    Counts counts;     // before the final reduction
};

TEST(StepCounter, ClassifiesOneLine)
{
    const LineCase cases[] = {
        {"option explicit", "Option Explicit", {0, 0}},
        {"indented option explicit", "    Option Explicit", {0, 0}},
        {"option explicit and a space", "Option Explicit ", {1, 0}},
        {"option explicit and a tab", "Option Explicit\t", {1, 0}},
        {"option explicit and a comment", "Option Explicit ' on", {1, 0}},
        {"option private module", "Option Private Module", {0, 0}},
        {"option base", "Option Base 1", {0, 0}},
        {"option compare", "Option Compare Text", {0, 0}},
        {"comment holding option base", "' Option Base 0 is the default", {0, 0}},
        {"comment with a continuation", "' see below _", {0, 1}},
        {"indented comment", "      ' note", {0, 1}},
        {"tab before the apostrophe", "\t' note", {1, 0}},
        {"rem", "Rem note", {1, 0}},
        {"continued statement", "x = a + _", {0, 0}},
        {"underscore without a space", "x = my_value", {1, 0}},
        {"only spaces", "     ", {0, 0}},
        {"NUL ends the text", std::string("   \0x = 1", 9), {0, 0}},
        {"NUL after an apostrophe", std::string("'\0x = 1", 7), {0, 1}},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(StandardCounts(c.line + "\r\n"), (Counts{c.counts.first - 1, c.counts.second}));
    }
}

TEST(StepCounter, LastLineWithoutLineBreakIsClassifiedWhole)
{
    EXPECT_EQ(StandardCounts("x = 1\r\n'"), (Counts{0, 1}));
    EXPECT_EQ(StandardCounts("x = 1\r\nOption Explicit"), (Counts{0, 0}));
    EXPECT_EQ(StandardCounts("x = 1\r\ny = 2"), (Counts{1, 0}));
}

TEST(StepCounter, EveryStandardModuleLosesOneStep)
{
    EXPECT_EQ(StandardCounts(""), (Counts{-1, 0}));
    EXPECT_EQ(StandardCounts("x = 1\r\n"), (Counts{0, 0}));
    EXPECT_EQ(FormCounts(""), (Counts{0, 0}));
    EXPECT_EQ(CountBytes(ModuleKind::Cls, ""), (Counts{0, 0}));
}

TEST(StepCounter, LongLinesAreClassifiedInPiecesOf510Bytes)
{
    // 510 bytes: the piece is a step, the newline alone is nothing.
    EXPECT_EQ(StandardCounts(std::string(510, 'x') + "\r\n"), (Counts{0, 0}));
    // 511 bytes: two steps, the second piece being one byte.
    EXPECT_EQ(StandardCounts(std::string(511, 'x') + "\r\n"), (Counts{1, 0}));
    // A comment of 1,100 bytes: one comment and two steps.
    EXPECT_EQ(StandardCounts("'" + std::string(1099, 'x') + "\r\n"), (Counts{1, 1}));
    // A piece that begins with spaces and an apostrophe is a comment of its own.
    EXPECT_EQ(StandardCounts(std::string(510, 'x') + "  ' tail\r\n"), (Counts{0, 1}));
    // " _" cut between two pieces is in neither.
    EXPECT_EQ(StandardCounts(std::string(509, 'x') + " _\r\n"), (Counts{1, 0}));
}


}  // namespace
}  // namespace kolvane
