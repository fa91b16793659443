#include "project/text/source_file.h"

#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace kolvane {
namespace {

using testing::TempDir;

// Every pass of the reading loop with an n-byte buffer, as the handler saw it.
std::vector<std::string> Passes(std::string_view bytes, std::size_t n)
{
    TempDir dir;
    const std::string path = dir.Write("in.txt", bytes);
    SourceFile file;
    EXPECT_EQ(OpenSourceFile(file, path, kModeRead), 1);
    std::vector<char> line(n);
    std::vector<std::string> passes;
    const LoopEnd end = ForEachLine(file, line, [&](char* text) {
        passes.emplace_back(text);
        return true;
    });
    EXPECT_EQ(end, LoopEnd::EndOfData);
    EXPECT_EQ(CloseSourceFile(file), 1);
    return passes;
}

using Lines = std::vector<std::string>;

TEST(TextModeReading, PassesOfTheReadingLoop)
{
    const struct {
        const char* what;
        std::string bytes;
        std::size_t buffer;
        Lines passes;
    } cases[] = {
        {"CR LF reads as LF; the end gives one empty pass", "ab\r\ncd\r\n", 16, {"ab\n", "cd\n", ""}},
        {"empty file", "", 16, {""}},
        {"last line without newline ends the loop", "ab\r\ncd", 16, {"ab\n", "cd"}},
        {"lone CR stays, CR CR LF keeps the first CR", "a\rb\r\r\nc", 16, {"a\rb\r\n", "c"}},
        {"Ctrl-Z ends the data", "ab\r\ncd\x1A" "ef\r\n", 16, {"ab\n", "cd"}},
        {"Ctrl-Z first", "\x1A\x1A\r\n", 16, {""}},
        {"NUL ends the text of its line", std::string("ab\0cd\r\nef\r\n", 11), 16, {"ab", "ef\n", ""}},
        // A buffer of 4 takes 3 bytes; the limit counts bytes after translation.
        {"full buffer, then the line end", "abc\r\n", 4, {"abc", "\n", ""}},
        {"CR LF fits as LF", "ab\r\n", 4, {"ab\n", ""}},
        {"filled at the end of the data: one more empty pass", "abc", 4, {"abc", ""}},
        {"pieces", "abcdefg", 4, {"abc", "def", "g"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Passes(c.bytes, c.buffer), c.passes) << c.what;
}

TEST(TextModeReading, CrLfSplitAcrossTheReadChunkStillJoins)
{
    // The stream reads its file in 64 KiB chunks: put CR at the end of one.
    std::string bytes(64 * 1024 - 1, 'y');
    bytes += "\r\nz";
    const Lines passes = Passes(bytes, 1024);
    ASSERT_FALSE(passes.empty());
    EXPECT_EQ(passes[passes.size() - 2].back(), '\n');
    EXPECT_EQ(passes.back(), "z");
    std::size_t total = 0;
    for (const auto& p : passes) total += p.size();
    EXPECT_EQ(total, bytes.size() - 1);  // CR LF became LF
}

TEST(TextModeWriting, EveryLineFeedBecomesCrLfWriteTruncatesAppendAdds)
{
    TempDir dir;
    const std::string path = dir.Write("out.txt", "old content");
    SourceFile file;
    ASSERT_EQ(OpenSourceFile(file, path, kModeWrite), 1);
    EXPECT_EQ(file.WriteBlock("one\ntwo\n"), 1u);
    EXPECT_EQ(file.Print("%s:%8ld\n\n", "\x8d\x73", 42L), 13);
    ASSERT_EQ(CloseSourceFile(file), 1);
    ASSERT_EQ(OpenSourceFile(file, path, kModeAppend), 1);
    file.WriteBlock("b");
    ASSERT_EQ(CloseSourceFile(file), 1);
    EXPECT_EQ(dir.Read("out.txt"), "one\r\ntwo\r\n\x8d\x73:      42\r\n\r\nb");
}

TEST(SourceFileOpen, MissingFileFolderAndBadModeFail)
{
    TempDir dir;
    SourceFile file;
    EXPECT_EQ(OpenSourceFile(file, dir.Path("missing.txt"), kModeRead), 0);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(CloseSourceFile(file), 1);  // closing no stream succeeds

    const std::string folder = dir.Folder("sub");
    EXPECT_TRUE(FileExists(folder));
    EXPECT_EQ(OpenSourceFile(file, folder, kModeRead), 0);

    const std::string path = dir.Write("a.txt", "x");
    EXPECT_EQ(OpenSourceFile(file, path, 3), 2);
    EXPECT_EQ(OpenSourceFile(file, path, -1), 2);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_TRUE(FileExists(path));
    EXPECT_FALSE(FileExists(dir.Path("missing.txt")));
}

#ifndef _WIN32
TEST(SourceFileClose, FailedFinalFlushIsReported)
{
    SourceFile file;
    ASSERT_EQ(OpenSourceFile(file, "/dev/full", kModeWrite), 1);
    EXPECT_EQ(file.WriteBlock("buffered\n"), 1u);
    EXPECT_EQ(CloseSourceFile(file), 0);
}
#endif

}  // namespace
}  // namespace kolvane
