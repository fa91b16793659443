#include "project/text/source_text.h"

#include "project/text/host_path.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include <sys/stat.h>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace kolvane {
namespace {

constexpr char kLineFeed = '\n';
constexpr char kReturn = '\r';
constexpr char kEndOfData = 0x1A;  // Ctrl-Z
constexpr std::size_t kReadBlock = 1 << 20;

struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, Closer>;

// The file's size when the system tells it; 0 otherwise (the reading then
// grows the text block by block).
std::size_t SizeHint(std::FILE* file, bool& isDirectory)
{
    isDirectory = false;
#ifndef _WIN32
    struct stat status {};
    if (fstat(fileno(file), &status) != 0) return 0;
    isDirectory = S_ISDIR(status.st_mode);
    return S_ISREG(status.st_mode) ? static_cast<std::size_t>(status.st_size) : 0;
#else
    if (std::fseek(file, 0, SEEK_END) != 0) return 0;
    const long size = std::ftell(file);
    std::rewind(file);
    return size > 0 ? static_cast<std::size_t>(size) : 0;
#endif
}

}  // namespace

std::size_t ApplyTextMode(char* data, std::size_t size)
{
    if (const void* stop = std::memchr(data, kEndOfData, size)) {
        size = static_cast<std::size_t>(static_cast<const char*>(stop) - data);
    }
    char* returnMark = static_cast<char*>(std::memchr(data, kReturn, size));
    if (returnMark == nullptr) return size;

    // Compact from the first CR on: every CR LF pair loses its CR.
    std::size_t write = static_cast<std::size_t>(returnMark - data);
    std::size_t read = write;
    while (read < size) {
        const char* next = static_cast<const char*>(std::memchr(data + read, kReturn, size - read));
        const std::size_t end = next == nullptr ? size : static_cast<std::size_t>(next - data);
        if (end > read) {
            std::memmove(data + write, data + read, end - read);
            write += end - read;
        }
        if (next == nullptr) break;
        read = end + 1;  // past the CR
        if (read < size && data[read] == kLineFeed) continue;  // the LF is copied with the next run
        data[write++] = kReturn;  // a lone CR stays
    }
    return write;
}

std::size_t SourceSize(std::string_view path)
{
    const std::string host = HostPath(path);
#ifdef _WIN32
    struct _stat64 status {};
    if (_stat64(host.c_str(), &status) != 0) return 0;
#else
    struct stat status {};
    if (stat(host.c_str(), &status) != 0) return 0;
#endif
    return static_cast<std::size_t>(status.st_size);
}

ReadOutcome ReadSourceText(std::string_view path, TextBuffer& text)
{
    const ReadOutcome outcome = ReadRawText(path, text);
    text.resize(ApplyTextMode(text.data(), text.size()));
    return outcome;
}

DataExtent FindDataExtent(std::string_view bytes)
{
    std::size_t at = 0;
    bool holdsNul = false;
#ifdef __SSE2__
    const char* data = bytes.data();
    constexpr std::size_t kGroup = 16;
    const __m128i endsOfData = _mm_set1_epi8(kEndOfData);
    const __m128i zeros = _mm_setzero_si128();
    for (; at + kGroup <= bytes.size(); at += kGroup) {
        const __m128i group = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
        const auto stops = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(group, endsOfData)));
        const auto nuls = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(group, zeros)));
        if (stops != 0) {
            const auto stop = static_cast<unsigned>(__builtin_ctz(stops));
            return {at + stop, holdsNul || (nuls & ((1u << stop) - 1)) != 0};
        }
        holdsNul = holdsNul || nuls != 0;
    }
#endif
    const std::string_view rest = bytes.substr(at);
    const std::size_t stop = rest.find(kEndOfData);
    const std::size_t size = stop == std::string_view::npos ? rest.size() : stop;
    return {at + size, holdsNul || rest.substr(0, size).find('\0') != std::string_view::npos};
}

ReadOutcome ReadRawText(std::string_view path, TextBuffer& text, bool* holdsNul)
{
    const std::string host = HostPath(path);
    File file(std::fopen(host.c_str(), "rb"));
    bool isDirectory = false;
    const std::size_t hint = file ? SizeHint(file.get(), isDirectory) : 0;
    if (!file || isDirectory) {  // the Windows runtime refuses to open a folder
        text.clear();
        return ReadOutcome::CannotOpen;
    }

    // One read of the expected size, then blocks until the end: a file that
    // grows while it is read is still read whole.
    std::size_t filled = 0;
    text.clear();  // a buffer that grows copies nothing of the module read before
    text.resize(hint + 1);
    bool failed = false;
    for (;;) {
        if (filled == text.size()) text.resize(text.size() + kReadBlock);
        const std::size_t got = std::fread(text.data() + filled, 1, text.size() - filled, file.get());
        filled += got;
        if (got == 0 || filled < text.size()) {
            if (std::ferror(file.get())) failed = true;
            if (std::feof(file.get()) || failed || got == 0) break;
        }
    }
    const DataExtent extent = FindDataExtent({text.data(), filled});
    text.resize(extent.size);
    if (holdsNul != nullptr) *holdsNul = extent.holdsNul;

    // As the line-by-line readers had it: a failed close outweighs a failed read.
    if (std::fclose(file.release()) != 0) return ReadOutcome::CloseError;
    return failed ? ReadOutcome::ReadError : ReadOutcome::Read;
}

}  // namespace kolvane
