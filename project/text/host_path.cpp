#include "project/text/host_path.h"

#include "project/text/path_text.h"

#ifndef _WIN32
#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>
#endif

namespace kolvane {

#ifndef _WIN32
namespace {

// Windows checkouts name their files the Windows way: case does not matter,
// and the names are in the ANSI code page, while Linux file names are UTF-8.
// A name that is not found as written is looked for among its folder's
// entries under these spellings, in this order.
constexpr std::array<const char*, 2> kNameEncodings = {"CP932", "WINDOWS-1252"};
constexpr char kHostSeparator = '/';

struct IconvCloser {
    void operator()(void* descriptor) const { iconv_close(static_cast<iconv_t>(descriptor)); }
};

// The text converted from the encoding to UTF-8; nothing when the bytes are
// not valid in that encoding.
std::optional<std::string> ToUtf8(const char* encoding, std::string_view text)
{
    const iconv_t opened = iconv_open("UTF-8", encoding);
    if (opened == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    const std::unique_ptr<void, IconvCloser> descriptor(opened);

    constexpr std::size_t kMaxGrowth = 4;  // no character of either encoding needs more
    std::string converted(text.size() * kMaxGrowth, '\0');
    std::string input(text);
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* out = converted.data();
    std::size_t outLeft = converted.size();
    if (iconv(opened, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
    converted.resize(converted.size() - outLeft);
    return converted;
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    const auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
               return fold(x) == fold(y);
           });
}

bool HasNonAscii(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

bool Exists(const std::string& path)
{
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

// The names in a folder, sorted so that a choice among several is stable.
std::vector<std::string> FolderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The entry that the name means: its spelling ignoring ASCII case, then its
// UTF-8 spelling from Shift_JIS, then from Windows-1252 (each as it is, then
// ignoring case).
std::optional<std::string> FindEntry(const std::string& folder, std::string_view name)
{
    const std::vector<std::string> entries = FolderEntries(folder);
    const auto find = [&](std::string_view spelling, bool ignoreCase) -> std::optional<std::string> {
        for (const std::string& entry : entries) {
            if (ignoreCase ? EqualIgnoringAsciiCase(entry, spelling) : entry == spelling) return entry;
        }
        return std::nullopt;
    };

    if (auto found = find(name, true)) return found;
    if (!HasNonAscii(name)) return std::nullopt;
    for (const char* encoding : kNameEncodings) {
        const std::optional<std::string> spelling = ToUtf8(encoding, name);
        if (!spelling) continue;
        if (auto found = find(*spelling, false)) return found;
        if (auto found = find(*spelling, true)) return found;
    }
    return std::nullopt;
}

// Walks the path folder by folder, replacing each component that does not
// exist as written by the entry it means. From the first component that
// cannot be found on, the rest stays as written (a file about to be created).
std::string LookUpFolderByFolder(const std::string& path)
{
    std::string resolved;
    std::size_t start = 0;
    for (;;) {
        const std::size_t separator = path.find(kHostSeparator, start);
        const std::string_view name = std::string_view(path).substr(start, separator - start);
        if (!name.empty() && name != "." && name != "..") {
            std::string candidate = resolved;
            candidate.append(name);
            if (!Exists(candidate)) {
                const std::optional<std::string> entry = FindEntry(resolved.empty() ? "." : resolved, name);
                if (!entry) return resolved.append(path, start);
                resolved.append(*entry);
            } else {
                resolved = std::move(candidate);
            }
        } else {
            resolved.append(name);
        }
        if (separator == std::string::npos) return resolved;
        resolved.push_back(kHostSeparator);
        start = separator + 1;
    }
}

}  // namespace
#endif

std::string HostPath(std::string_view path)
{
    std::string host(path);
#ifndef _WIN32
    // The trail byte of a double-byte character (0x5C in 表 or ソ) is no separator.
    ForEachSeparator(host, [&](std::size_t position) {
        if (host[position] == '\\') host[position] = kHostSeparator;
    });
    if (host.empty() || Exists(host)) return host;
    host = LookUpFolderByFolder(host);
#endif
    return host;
}

}  // namespace kolvane
