#include "cli/terminal_text.h"

#include <string>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <iconv.h>

#include <array>
#include <cerrno>
#include <memory>
#endif

namespace kolvane::cli {
namespace {

void WriteBytes(std::FILE* stream, std::string_view bytes)
{
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
}

#ifdef _WIN32

// The console behind the stream, or nothing when it is redirected.
HANDLE ConsoleOf(std::FILE* stream)
{
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) ? handle : nullptr;
}

bool WriteConsoleText(HANDLE console, std::string_view text)
{
    if (text.empty()) return true;
    const int length = static_cast<int>(text.size());
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (wideLength <= 0) return false;
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), wideLength);
    DWORD written = 0;
    return WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr) != FALSE;
}

#else

constexpr char kReplacement = '?';

struct IconvCloser {
    void operator()(void* descriptor) const { iconv_close(static_cast<iconv_t>(descriptor)); }
};

// Shift_JIS to UTF-8; a byte that is no Shift_JIS becomes a question mark.
std::string ToUtf8(std::string_view text)
{
    const iconv_t opened = iconv_open("UTF-8", "CP932");
    if (opened == reinterpret_cast<iconv_t>(-1)) return std::string(text);
    const std::unique_ptr<void, IconvCloser> descriptor(opened);

    std::string input(text);
    char* in = input.data();
    std::size_t inLeft = input.size();
    std::string converted;
    std::array<char, 512> chunk;
    while (inLeft > 0) {
        char* out = chunk.data();
        std::size_t outLeft = chunk.size();
        const std::size_t result = iconv(opened, &in, &inLeft, &out, &outLeft);
        converted.append(chunk.data(), static_cast<std::size_t>(out - chunk.data()));
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            converted.push_back(kReplacement);
            ++in;
            --inLeft;
        }
    }
    return converted;
}

#endif

}  // namespace

void WriteTerminalText(std::FILE* stream, std::string_view text)
{
#ifdef _WIN32
    if (const HANDLE console = ConsoleOf(stream)) {
        std::fflush(stream);  // keep what was written through the stream in order
        if (WriteConsoleText(console, text)) return;
    }
    WriteBytes(stream, text);
#else
    WriteBytes(stream, ToUtf8(text));
#endif
}

}  // namespace kolvane::cli
