#include "analysis/tables/csv_writer.h"

#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace kolvane {
namespace {

using testing::TempDir;

TEST(CsvWriter, QuotesOnlyWhatNeedsIt)
{
    const struct {
        std::string_view text;
        std::string_view field;
    } cases[] = {
        {"plain text", "plain text"}, {"a,b", "\"a,b\""},   {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"cr\rx", "\"cr\rx\""},       {"lf\nx", "\"lf\nx\""}, {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(CsvField(c.text), c.field) << c.text;
}

TEST(CsvWriter, ByteOrderMarkHeaderAndCrLfRows)
{
    TempDir dir;
    CsvWriter csv;
    ASSERT_TRUE(csv.Open(dir.Path("out.csv"), {"name", "count", "note"}));
    csv.Text("\xE8\xA1\xA8,1");
    csv.Number(-1);
    csv.Empty();
    csv.EndRow();
    ASSERT_TRUE(csv.Close());
    EXPECT_EQ(dir.Read("out.csv"), "\xEF\xBB\xBFname,count,note\r\n\"\xE8\xA1\xA8,1\",-1,\r\n");
}

// Text in the source's code page becomes UTF-8 before it is quoted: a
// Shift_JIS trail byte that is a quote or a comma never ends a field.
TEST(CsvWriter, ConvertedFieldsAreUtf8AndQuotedAfterTheConversion)
{
    const struct {
        std::string_view bytes;
        CodePage codePage;
        std::string_view field;
    } cases[] = {
        {"\x95\x5C\x8E\xA6", CodePage::Cp932, "\xE8\xA1\xA8\xE7\xA4\xBA"},  // 表示, 0x5C trail byte
        {"\x81\x41,\x82\xA0", CodePage::Cp932, "\"\xE3\x80\x81,\xE3\x81\x82\""},  // 、 and あ around a comma
        {"caf\xE9 \"x\"", CodePage::Cp1252, "\"caf\xC3\xA9 \"\"x\"\"\""},
        {"\x82", CodePage::Cp932, "\xEF\xBF\xBD"},  // a lead byte at the end: U+FFFD
        {"\xE8\xA1\xA8", CodePage::Utf8, "\xE8\xA1\xA8"},
        // Longer fields: what decides stands in their first sixteen bytes or after them.
        {"Private Sub Form_Load(ByVal a As Long)", CodePage::Cp932, "Private Sub Form_Load(ByVal a As Long)"},
        {"Private Sub Form_Load(a As Long, b)", CodePage::Cp932, "\"Private Sub Form_Load(a As Long, b)\""},
        {"Public Function Name() As String ' \x95\x5C", CodePage::Cp932,
         "Public Function Name() As String ' \xE8\xA1\xA8"},
        {"Dim \x95\x5C As String", CodePage::Cp932, "Dim \xE8\xA1\xA8 As String"},
        {"Const T = \"ab\" & Rest", CodePage::Cp932, "\"Const T = \"\"ab\"\" & Rest\""},
        {"Declare Sub\rA Lib kernel32", CodePage::Cp932, "\"Declare Sub\rA Lib kernel32\""},  // a lone CR
        {"Declare Sub\nA Lib kernel32", CodePage::Cp932, "\"Declare Sub\nA Lib kernel32\""},
    };
    for (const auto& c : cases) {
        TempDir dir;
        CsvWriter csv;
        ASSERT_TRUE(csv.Open(dir.Path("out.csv"), {"text"}));
        csv.Converted(c.bytes, c.codePage);
        csv.EndRow();
        ASSERT_TRUE(csv.Close());
        EXPECT_EQ(dir.Read("out.csv"), "\xEF\xBB\xBFtext\r\n" + std::string(c.field) + "\r\n") << c.bytes;
    }
}

// Rows made elsewhere keep their order whether they join the block being
// filled or, at 64 KiB and more, go to the file on their own.
TEST(CsvWriter, AppendedRowsKeepTheirOrderAtAnySize)
{
    TempDir dir;
    CsvWriter csv;
    ASSERT_TRUE(csv.Open(dir.Path("out.csv"), {"a", "b"}));
    std::string expected = "\xEF\xBB\xBF" "a,b\r\n";
    CsvRows start;
    start.Text("p");
    start.Text("f,g");
    for (const std::size_t count : {1, 3000, 2, 40000, 1}) {
        CsvRows rows;
        for (std::size_t i = 0; i < count; ++i) {
            rows.Fields(start.Bytes());
            rows.Number(static_cast<std::int64_t>(i));
            rows.EndRow();
            expected += "p,\"f,g\"," + std::to_string(i) + "\r\n";
        }
        csv.Append(rows);
    }
    ASSERT_TRUE(csv.Close());
    EXPECT_EQ(dir.Read("out.csv"), expected);
}

}  // namespace
}  // namespace kolvane
