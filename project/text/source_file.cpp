#include "project/text/source_file.h"

#include "project/text/host_path.h"
#include "project/text/strings.h"

#include <bit>
#include <cstdarg>
#include <cstdint>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <io.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kolvane {
namespace {

constexpr char kLineFeed = '\n';
constexpr char kReturn = '\r';
constexpr char kEndOfData = 0x1A;  // Ctrl-Z
constexpr std::size_t kReadChunk = 64 * 1024;
constexpr std::size_t kWriteStretch = 64 * 1024;  // converted bytes handed to the stream at once

bool IsDirectory(std::FILE* file)
{
#ifdef _WIN32
    (void)file;
    return false;  // the runtime refuses to open a directory
#else
    struct stat status {};
    return fstat(fileno(file), &status) == 0 && S_ISDIR(status.st_mode);
#endif
}

bool IsSpecial(char c)
{
    return c == kLineFeed || c == kReturn || c == kEndOfData;
}

// The number of bytes at the start of data before the first LF, CR or
// Ctrl-Z (size when there is none). Eight bytes at a time: in each word the
// lowest byte equal to one of the three is flagged exactly.
std::size_t OrdinaryRun(const char* data, std::size_t size)
{
    std::size_t run = 0;
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kOnes = 0x0101010101010101;
        constexpr std::uint64_t kHighBits = 0x8080808080808080;
        const auto zeroBytes = [](std::uint64_t word) { return (word - kOnes) & ~word & kHighBits; };
        for (; run + sizeof(std::uint64_t) <= size; run += sizeof(std::uint64_t)) {
            std::uint64_t word;
            std::memcpy(&word, data + run, sizeof word);
            const std::uint64_t found = zeroBytes(word ^ (kOnes * kLineFeed)) | zeroBytes(word ^ (kOnes * kReturn)) |
                                        zeroBytes(word ^ (kOnes * kEndOfData));
            if (found != 0) return run + static_cast<std::size_t>(std::countr_zero(found)) / 8;
        }
    }
    while (run < size && !IsSpecial(data[run])) ++run;
    return run;
}

}  // namespace

int OpenSourceFile(SourceFile& file, std::string_view path, int mode)
{
    static constexpr const char* kModes[] = {"rb", "wb", "ab"};
    if (mode < kModeRead || mode > kModeAppend) return 2;

    file = SourceFile();
    const std::string host = HostPath(path);
    std::unique_ptr<std::FILE, SourceFile::Closer> opened(std::fopen(host.c_str(), kModes[mode]));
    if (!opened || IsDirectory(opened.get())) return 0;
    file.file_ = std::move(opened);
    if (mode == kModeRead) file.buffer_.resize(kReadChunk);
    return 1;
}

int CloseSourceFile(SourceFile& file)
{
    std::FILE* stream = file.file_.release();
    file = SourceFile();
    if (stream == nullptr) return 1;
    return std::fclose(stream) == 0 ? 1 : 0;
}

bool FileExists(std::string_view path)
{
    const std::string host = HostPath(path);
#ifdef _WIN32
    return _access(host.c_str(), 0) == 0;
#else
    return access(host.c_str(), F_OK) == 0;
#endif
}

bool SourceFile::Refill()
{
    if (dataEnded_ || !file_) return false;
    position_ = 0;
    filled_ = std::fread(buffer_.data(), 1, buffer_.size(), file_.get());
    if (filled_ > 0) return true;
    if (std::ferror(file_.get())) readFailed_ = true;
    dataEnded_ = true;
    return false;
}

int SourceFile::PeekRaw()
{
    if (position_ == filled_ && !Refill()) return EOF;
    return static_cast<unsigned char>(buffer_[position_]);
}

void SourceFile::ReadLine(std::span<char> out)
{
    if (out.empty()) return;
    const std::size_t limit = out.size() - 1;
    std::size_t used = 0;
    while (used < limit) {
        if (position_ == filled_ && !Refill()) {
            atEnd_ = true;
            break;
        }
        // Copy the run of ordinary bytes, then deal with the byte that ended it.
        const char* raw = buffer_.data() + position_;
        const std::size_t available = std::min(filled_ - position_, limit - used);
        const std::size_t run = OrdinaryRun(raw, available);
        std::memcpy(out.data() + used, raw, run);
        used += run;
        position_ += run;
        if (run == available) continue;

        const char special = raw[run];
        ++position_;
        if (special == kEndOfData) {
            dataEnded_ = true;
            atEnd_ = true;
            break;
        }
        if (special == kReturn) {
            if (PeekRaw() != kLineFeed) {
                out[used++] = kReturn;  // a lone CR is passed on
                continue;
            }
            ++position_;
        }
        out[used++] = kLineFeed;
        break;
    }
    out[used] = '\0';
}

std::size_t SourceFile::WriteBlock(std::string_view text)
{
    if (!file_) return 0;
    // Converted a stretch at a time and handed to the stream in one write.
    const auto write = [&] {
        const bool written = std::fwrite(converted_.data(), 1, converted_.size(), file_.get()) == converted_.size();
        converted_.clear();
        return written;
    };
    converted_.clear();
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t lineFeed = text.find(kLineFeed, start);
        const std::size_t end = lineFeed == std::string_view::npos ? text.size() : lineFeed;
        converted_.append(text, start, end - start);
        if (lineFeed != std::string_view::npos) converted_.append("\r\n");
        if (converted_.size() >= kWriteStretch && !write()) return 0;
        start = end + 1;
    }
    return write() ? 1 : 0;
}

}  // namespace kolvane
