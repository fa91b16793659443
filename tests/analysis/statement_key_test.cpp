#include "analysis/source/statement_key.h"

#include "project/platform.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane {
namespace {

// The key of a statement whose physical lines are given, one piece each.
std::string Key(std::initializer_list<std::string_view> lines)
{
    std::vector<StatementPiece> pieces;
    std::uint32_t line = 0;
    for (const std::string_view text : lines) pieces.push_back({text, ++line});
    return StatementKey(pieces, &IsLeadByte);
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
        {"continuation with a comment", {"Call f(a, _ ' first", "  b)"}, {"Call f(a, b)"}, true},
        {"continued line edited", {"Call f(a, _", "  b)"}, {"Call f(a, _", "  c)"}, false},
        {"trail byte that is an ASCII letter", {"x = \x83\x41"}, {"x = \x83\x61"}, false},
        {"lead byte before a folded letter", {"\x83\x41X = 1"}, {"\x83\x41x = 1"}, true},
    };
    for (const KeyCase& c : cases) {
        EXPECT_EQ(Key(c.older) == Key(c.newer), c.same) << c.what << ": " << Key(c.older) << " | " << Key(c.newer);
    }
}

TEST(StatementKey, PiecesOfOneLongLineJoinWithoutABlank)
{
    const std::vector<StatementPiece> pieces = {{"x = \"ab", 7}, {"cd\" _", 7}, {"  + y", 8}};
    EXPECT_EQ(StatementKey(pieces, &IsLeadByte), "x = \"abcd\" + y");
}

}  // namespace
}  // namespace kolvane
