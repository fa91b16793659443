#include "analysis/source/code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace kolvane {
namespace {

#define REPLACEMENT "\xEF\xBF\xBD"

struct Case {
    const char* name;
    CodePage codePage;
    std::string bytes;
    std::string utf8;
};

TEST(CodePage, ConvertsCharacterByCharacter)
{
    const Case cases[] = {
        {"kana, kanji with an ASCII trail byte, half-width kana", CodePage::Cp932, "\x82\xA0\x83\x5C\xB1\\~",
         "\xE3\x81\x82\xE3\x82\xBD\xEF\xBD\xB1\\~"},
        {"unmapped pair is one character", CodePage::Cp932, "\x85\x40x", REPLACEMENT "x"},
        {"lead byte without a trail byte", CodePage::Cp932, "\x81\x7F\x82", REPLACEMENT "\x7F" REPLACEMENT},
        {"lead byte before a lead byte pair", CodePage::Cp932, std::string("\x81\x0a\x82\xA0", 4),
         REPLACEMENT "\n\xE3\x81\x82"},
        {"NUL kept", CodePage::Cp932, std::string("a\0b", 3), std::string("a\0b", 3)},
        {"western", CodePage::Cp1252, "\x80\x81\xE9", "\xE2\x82\xAC" REPLACEMENT "\xC3\xA9"},
        {"well-formed UTF-8", CodePage::Utf8, "\xE3\x81\x82\xF0\x9F\x98\x80", "\xE3\x81\x82\xF0\x9F\x98\x80"},
        {"truncated, overlong and surrogate", CodePage::Utf8, "\xE3\x81" "A\xC0\xAF\xED\xA0\x80",
         REPLACEMENT "A" REPLACEMENT REPLACEMENT REPLACEMENT REPLACEMENT REPLACEMENT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ToUtf8(c.bytes, c.codePage), c.utf8);
    }
}

TEST(CodePage, NamesWithoutRegardToCase)
{
    EXPECT_EQ(ParseCodePage("Shift_JIS"), CodePage::Cp932);
    EXPECT_EQ(ParseCodePage("CP1252"), CodePage::Cp1252);
    EXPECT_EQ(ParseCodePage("utf-8"), CodePage::Utf8);
    EXPECT_EQ(ParseCodePage("ebcdic"), std::nullopt);
}

}  // namespace
}  // namespace kolvane
