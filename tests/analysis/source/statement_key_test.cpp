#include "analysis/source/statement_key.h"

#include "project/text/platform.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

namespace kolvane {
namespace {

// The key of the one statement of a standard module made of the lines.
std::string Key(std::initializer_list<std::string_view> lines)
{
    std::string text;
    for (const std::string_view line : lines) text.append(line).append("\r\n");
    ModuleScan module;
    ScanModule(text, false, ModuleKind::Bas, module);
    EXPECT_EQ(module.statements.size(), 1u) << text;
    return module.statements.empty() ? std::string() : StatementKey(module, module.statements.front(), &IsLeadByte);
}

struct KeyCase {
    const char* what;
    std::initializer_list<std::string_view> older;
    std::initializer_list<std::string_view> newer;
    bool same;
};

TEST(StatementKey, DecidesWhichStatementsAreTheSameStep)
{
    const KeyCase cases[] = {
        {"re-cased identifier", {"Dim Total As Long"}, {"DIM total as long"}, true},
        {"re-cased string literal", {"MsgBox \"Hello\""}, {"MsgBox \"HELLO\""}, false},
        {"trailing comment edited", {"x = 1 ' old note"}, {"x = 1\t  'new note"}, true},
        {"comment added", {"x = 1"}, {"x = 1 ' note"}, true},
        {"apostrophe inside a literal", {"s = \"it's a\""}, {"s = \"it's b\""}, false},
        {"apostrophe inside a literal, comment after", {"s = \"it's\""}, {"s = \"it's\" ' c"}, true},
        {"doubled quotes keep the literal open", {"s = \"say \"\"hi'\"\" x\""}, {"s = \"say \"\"hi'\"\" X\""}, false},
        {"blanks and tabs at both ends", {"\t  x = 1 \t"}, {"x = 1"}, true},
        {"blanks inside", {"x = 1"}, {"x  = 1"}, false},
        {"continued lines joined with one blank", {"x = a + _", "    b"}, {"x = a + b"}, true},
        {"blanks before the continuation go with it", {"x = a +\t  _", "b"}, {"x = a + b"}, true},
        {"continuation with a comment", {"Call f(a, _ ' first", "  b)"}, {"Call f(a, b)"}, true},
        {"continued line edited", {"Call f(a, _", "  b)"}, {"Call f(a, _", "  c)"}, false},
        {"trail byte that is an ASCII letter", {"x = \x83\x41"}, {"x = \x83\x61"}, false},
        {"lead byte before a folded letter", {"\x83\x41X = 1"}, {"\x83\x41x = 1"}, true},
    };
    for (const KeyCase& c : cases) {
        EXPECT_EQ(Key(c.older) == Key(c.newer), c.same) << c.what << ": " << Key(c.older) << " | " << Key(c.newer);
    }
}

// A line longer than the counter's read comes in pieces: they are put
// together before the line is keyed.
TEST(StatementKey, PiecesOfOneLongLineJoinWithoutABlank)
{
    const std::string literal = "A _" + std::string(600, 'B');
    const std::string line = "X = \"" + literal + "\" _";
    EXPECT_EQ(Key({line, "  + Y"}), "x = \"" + literal + "\" + y");
}

}  // namespace
}  // namespace kolvane
