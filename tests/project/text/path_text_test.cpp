#include "project/text/path_text.h"

#include <gtest/gtest.h>


namespace kolvane {
namespace {

TEST(FileTitle, LastComponentWithItsExtension)
{
    EXPECT_EQ(FileTitle("C:\\Work\\Forms\\Main.frm"), "Main.frm");
    EXPECT_EQ(FileTitle("Main.frm"), "Main.frm");
    // ソ is 0x83 0x5C: its trail byte is not a separator.
    EXPECT_EQ(FileTitle("C:\\Work\\\x83\x5C\x83\x74\x83\x67.bas"), "\x83\x5C\x83\x74\x83\x67.bas");
    EXPECT_EQ(FileTitle("C:\\\x95\x5C\\a.bas"), "a.bas");
    EXPECT_EQ(FileTitle("work/My Demo\\Demo.vbp"), "Demo.vbp");
#ifndef _WIN32
    // A UTF-8 folder name whose last byte looks like a Shift_JIS lead byte (あ).
    EXPECT_EQ(FileTitle("/tmp/\xE3\x81\x82/Demo.vbp"), "Demo.vbp");
#endif
}

}  // namespace
}  // namespace kolvane
