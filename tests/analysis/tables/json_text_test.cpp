#include "analysis/tables/json_text.h"

#include <gtest/gtest.h>

namespace kolvane {
namespace {

// Every byte below 0x20 is escaped, the common ones by their short names;
// DEL and UTF-8 stay as they are.
TEST(JsonText, StringsEscapeQuotesBackslashesAndEveryControlByte)
{
    const struct {
        std::string_view text;
        std::string_view json;
    } cases[] = {
        {"a\"b\\c", R"("a\"b\\c")"},
        {"\r\n\t", R"("\r\n\t")"},
        {std::string_view("\x00\x01\x1A\x1F", 4), R"("\u0000\u0001\u001a\u001f")"},
        {"\x7F \xE8\xA1\xA8", "\"\x7F \xE8\xA1\xA8\""},
    };
    for (const auto& c : cases) {
        std::string out;
        AppendJsonString(out, c.text);
        EXPECT_EQ(out, c.json);
    }
}

TEST(JsonText, FieldsTakeACommaAfterTheFirstAndNullForNoNumber)
{
    std::string out = "{";
    AppendJsonField(out, "file", "a.bas");
    AppendJsonField(out, "steps", std::optional<std::int64_t>());
    AppendJsonField(out, "lines", std::optional<std::int64_t>(-3));
    EXPECT_EQ(out, R"({"file":"a.bas","steps":null,"lines":-3)");
}

}  // namespace
}  // namespace kolvane
