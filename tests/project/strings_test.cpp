#include "project/strings.h"

#include "project/path_text.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace kolvane {
namespace {

TEST(RightString, ShorterTextIsReturnedItselfLongerIsCopied)
{
    const char* three = "abc";
    EXPECT_EQ(RightString(three, 4), three);
    const char* four = "abcd";
    const char* copy = RightString(four, 4);
    EXPECT_NE(copy, four);
    EXPECT_STREQ(copy, "abcd");
    EXPECT_STREQ(RightString("abcdef", 2), "ef");
    EXPECT_STREQ(RightString("abc", 0), "");
}

TEST(RightString, LengthAboveTheBufferIsHeldToIt)
{
    const std::string text(400, 'q');
    EXPECT_EQ(std::string(RightString(text.c_str(), 300)), std::string(255, 'q'));
}

std::string Trim(const char* source, std::int32_t n, unsigned mode)
{
    std::array<char, 64> out{};
    EXPECT_EQ(TrimSpaces(source, n, mode, out), 1);
    return out.data();
}

TEST(TrimSpaces, Modes)
{
    const struct {
        const char* source;
        std::int32_t n;
        unsigned mode;
        const char* trimmed;
    } cases[] = {
        {"   Sub X", 0, 1, "Sub X"}, {"", 0, 1, ""}, {"\t Sub X\n", 0, 1, "\t Sub X\n"}, {"  x  \n", 0, 1, "x  \n"},
        {"ab  ", 4, 2, "ab"}, {"    ", 4, 2, ""}, {"ab cd", 3, 2, "ab"},  // trailing blanks of the first n
        {"  ab c  ", 0, 3, "ab c"}, {" a b c ", 0, 4, "abc"},
    };
    for (const auto& c : cases) EXPECT_EQ(Trim(c.source, c.n, c.mode), c.trimmed) << c.source << " " << c.mode;
}

TEST(TrimSpaces, UnknownModeLeavesTheDestination)
{
    std::array<char, 8> out{'k', 'e', 'e', 'p', '\0'};
    EXPECT_EQ(TrimSpaces("  x", 3, 5, out), 2);
    EXPECT_STREQ(out.data(), "keep");
}

TEST(TrimSpaces, ResultIsCutToTheDestination)
{
    std::array<char, 4> out{};
    EXPECT_EQ(TrimSpaces("  abcdef", 0, 1, out), 1);
    EXPECT_STREQ(out.data(), "abc");
}

TEST(FileTitle, LastComponentWithItsExtension)
{
    EXPECT_EQ(FileTitle("C:\\Work\\Forms\\Main.frm"), "Main.frm");
    EXPECT_EQ(FileTitle("Main.frm"), "Main.frm");
    // ソ is 0x83 0x5C: its trail byte is not a separator.
    EXPECT_EQ(FileTitle("C:\\Work\\\x83\x5C\x83\x74\x83\x67.bas"), "\x83\x5C\x83\x74\x83\x67.bas");
    EXPECT_EQ(FileTitle("C:\\\x95\x5C\\a.bas"), "a.bas");
#ifndef _WIN32
    // A UTF-8 folder name whose last byte looks like a Shift_JIS lead byte (あ).
    EXPECT_EQ(FileTitle("/tmp/\xE3\x81\x82/Demo.vbp"), "Demo.vbp");
#endif
}

}  // namespace
}  // namespace kolvane
