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

}  // namespace
}  // namespace kolvane
