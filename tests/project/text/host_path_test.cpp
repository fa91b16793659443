#include "project/text/host_path.h"

#include "project/text/source_file.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace kolvane {
namespace {

using testing::TempDir;

// 表 is 0x95 0x5C in Shift_JIS: its trail byte is a backslash.
constexpr std::string_view kShiftJisName = "\x95\x5C\x8E\xA6.cls";  // 表示.cls

TEST(HostPath, TrailByteOfADoubleByteCharacterIsNoSeparator)
{
    const std::string path = std::string("Forms\\") + std::string(kShiftJisName);
#ifdef _WIN32
    EXPECT_EQ(HostPath(path), path);
#else
    EXPECT_EQ(HostPath(path), std::string("Forms/") + std::string(kShiftJisName));
#endif
}

#ifndef _WIN32

using testing::Utf8;

TEST(HostPath, NameInAnotherCaseIsFoundFolderByFolderAndAnExactNameIsKept)
{
    TempDir dir;
    dir.Folder("Forms");
    dir.Write("Forms/Main.frm", "");
    EXPECT_EQ(HostPath(dir.Root() + "\\FORMS\\main.FRM"), dir.Path("Forms/Main.frm"));
    EXPECT_TRUE(FileExists(dir.Root() + "\\forms\\MAIN.frm"));
    dir.Write("Util.bas", "");
    dir.Write("UTIL.BAS", "");
    EXPECT_EQ(HostPath(dir.Root() + "\\UTIL.BAS"), dir.Path("UTIL.BAS"));
    EXPECT_EQ(HostPath(dir.Root() + "\\util.bas"), dir.Path("UTIL.BAS"));  // the first in byte order
}

TEST(HostPath, ShiftJisNameIsFoundUnderItsUtf8Spelling)
{
    TempDir dir;
    const std::string folder = Utf8(u8"画面");
    const std::string file = Utf8(u8"表示.cls");
    dir.Folder(folder);
    dir.Write(folder + "/" + file, "");
    // 画面 in Shift_JIS, the class file name with its 0x5C trail byte, and a
    // different case in the extension.
    const std::string written = dir.Root() + "\\\x89\xE6\x96\xCA\\\x95\x5C\x8E\xA6.CLS";
    EXPECT_EQ(HostPath(written), dir.Path(folder + "/" + file));
}

TEST(HostPath, Windows1252NameIsFoundWhenItIsNoShiftJis)
{
    TempDir dir;
    const std::string onDisk = Utf8(u8"G\u00E9n\u00E9ral.bas");  // Général.bas
    dir.Write(onDisk, "");
    // é (0xE9) followed by "n" also reads as a Shift_JIS character, one that
    // names nothing on disk; the Western spelling is the one that exists.
    EXPECT_EQ(HostPath(dir.Root() + "\\G\xE9n\xE9ral.bas"), dir.Path(onDisk));
}

TEST(HostPath, MissingNameKeepsTheFoldersFoundBeforeIt)
{
    TempDir dir;
    dir.Folder("Out");
    EXPECT_EQ(HostPath(dir.Root() + "\\OUT\\Demo_StCnt.txt"), dir.Path("Out/Demo_StCnt.txt"));
    EXPECT_EQ(HostPath(dir.Root() + "\\none\\x.bas"), dir.Path("none/x.bas"));
}

TEST(HostPath, RelativePathIsLookedUpFromTheCurrentFolder)
{
    TempDir dir;
    dir.Folder("Sub");
    dir.Write("Sub/Module1.bas", "");
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Root());
    const std::string host = HostPath("..\\" + std::filesystem::path(dir.Root()).filename().string() +
                                      "\\sub\\module1.bas");
    std::filesystem::current_path(previous);
    EXPECT_EQ(host, "../" + std::filesystem::path(dir.Root()).filename().string() + "/Sub/Module1.bas");
}

#endif

}  // namespace
}  // namespace kolvane
