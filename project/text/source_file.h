// Text files as the Windows C runtime's text mode has them, on every
// platform: CR LF reads as LF, a lone CR stays, Ctrl-Z (0x1A) ends the data,
// and every LF written becomes CR LF.
#pragma once

#include "project/text/report_sink.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

enum FileMode : int { kModeRead = 0, kModeWrite = 1, kModeAppend = 2 };

class SourceFile final : public ReportSink {
public:
    SourceFile() = default;
    SourceFile(SourceFile&&) noexcept = default;
    SourceFile& operator=(SourceFile&&) noexcept = default;
    ~SourceFile() override = default;  // an open stream is closed by its owner

    bool IsOpen() const { return file_ != nullptr; }

    // The C library's line read on a text stream: at most buffer.size() - 1
    // bytes, counted after translation, up to and including the first LF,
    // NUL-terminated. A read that stops at the limit does not look ahead.
    void ReadLine(std::span<char> buffer);

    // The end-of-file indicator: set by the read that meets the end of the
    // data, or a read error.
    bool AtEnd() const { return atEnd_; }
    // True when reading stopped on an error rather than the end of the data.
    bool ReadFailed() const { return readFailed_; }

    // Writes the text as one item; returns the number of items written (1 or 0).
    std::size_t WriteBlock(std::string_view text) override;

private:
    friend int OpenSourceFile(SourceFile& file, std::string_view path, int mode);
    friend int CloseSourceFile(SourceFile& file);

    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    bool Refill();
    int PeekRaw();

    std::unique_ptr<std::FILE, Closer> file_;
    std::vector<char> buffer_;
    std::string converted_;  // a block being written, every LF as CR LF
    std::size_t position_ = 0;
    std::size_t filled_ = 0;
    bool dataEnded_ = false;
    bool atEnd_ = false;
    bool readFailed_ = false;
};

// 1: opened. 0: failed, the stream is none. 2: the mode is not 0, 1 or 2;
// nothing is opened and the stream is left untouched.
int OpenSourceFile(SourceFile& file, std::string_view path, int mode);

// 1: closed without error, or there was no stream. 0: closing (the final
// flush included) reported an error.
int CloseSourceFile(SourceFile& file);

// True when the path names an existing file or directory.
bool FileExists(std::string_view path);

// How a reading loop ended.
enum class LoopEnd { EndOfData, Stopped, ReadError };

// The one reading loop: read one line, hand it on, and stop once the
// end-of-file indicator is set. handle(char* line) returns false to stop
// early. A file ending with a newline gives one more, empty pass. Every read
// leaves a NUL-terminated text and nothing looks past the terminator, so the
// buffer is not cleared byte by byte before each read.
template <typename Handle>
LoopEnd ForEachLine(SourceFile& file, std::span<char> line, Handle&& handle)
{
    for (;;) {
        file.ReadLine(line);
        if (!handle(line.data())) return LoopEnd::Stopped;
        if (file.AtEnd()) return file.ReadFailed() ? LoopEnd::ReadError : LoopEnd::EndOfData;
    }
}

}  // namespace kolvane
