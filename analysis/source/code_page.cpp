#include "analysis/source/code_page.h"

#include "project/text/platform.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace kolvane {
namespace {

#include "cp932_table.inc"

constexpr char32_t kReplacement = 0xFFFD;
constexpr unsigned kAnsiShiftJis = 932;
constexpr unsigned kAnsiWestern = 1252;
constexpr unsigned kAnsiUtf8 = 65001;

struct CodePageName {
    std::string_view name;
    CodePage codePage;
};

constexpr std::array<CodePageName, 11> kCodePageNames = {{
    {"cp932", CodePage::Cp932},
    {"shift_jis", CodePage::Cp932},
    {"shift-jis", CodePage::Cp932},
    {"sjis", CodePage::Cp932},
    {"windows-31j", CodePage::Cp932},
    {"cp1252", CodePage::Cp1252},
    {"windows-1252", CodePage::Cp1252},
    {"latin1", CodePage::Cp1252},
    {"utf-8", CodePage::Utf8},
    {"utf8", CodePage::Utf8},
    {"cp65001", CodePage::Utf8},
}};

// Windows-1252 from 0x80 to 0x9F; the five unassigned bytes do not convert.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

constexpr unsigned char kFirstLead = 0x81;
constexpr unsigned char kLastLowLead = 0x9F;
constexpr unsigned char kFirstHighLead = 0xE0;
constexpr unsigned char kLastLead = 0xFC;
constexpr unsigned char kFirstTrail = 0x40;
constexpr unsigned char kLastTrail = 0xFC;
constexpr unsigned char kNotTrail = 0x7F;

void AppendCharacter(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// The index of a lead byte in the double-byte table, or -1.
int LeadIndex(unsigned char byte)
{
    if (byte >= kFirstLead && byte <= kLastLowLead) return byte - kFirstLead;
    if (byte >= kFirstHighLead && byte <= kLastLead) return byte - kFirstHighLead + (kLastLowLead - kFirstLead + 1);
    return -1;
}

bool IsTrail(unsigned char byte)
{
    return byte >= kFirstTrail && byte <= kLastTrail && byte != kNotTrail;
}

// Each converter reads the one character that starts at bytes[i] (a byte
// of 0x80 or above: ASCII runs are copied whole) and returns where the next
// one starts.

// A lead byte with a valid trail byte is one character, mapped or not; a
// lead byte without one is one U+FFFD, and the next byte is read afresh.
std::size_t Cp932Character(std::string_view bytes, std::size_t i, std::string& out)
{
    const auto byte = static_cast<unsigned char>(bytes[i]);
    const int lead = LeadIndex(byte);
    if (lead < 0) {
        AppendCharacter(out, kCp932Single[byte]);
        return i + 1;
    }
    const bool paired = i + 1 < bytes.size() && IsTrail(static_cast<unsigned char>(bytes[i + 1]));
    if (!paired) {
        AppendCharacter(out, kReplacement);
        return i + 1;
    }
    AppendCharacter(out, kCp932Double[lead][static_cast<unsigned char>(bytes[i + 1]) - kFirstTrail]);
    return i + 2;
}

std::size_t Cp1252Character(std::string_view bytes, std::size_t i, std::string& out)
{
    const auto byte = static_cast<unsigned char>(bytes[i]);
    const bool high = byte >= 0x80 && byte < 0xA0;
    AppendCharacter(out, high ? kCp1252High[byte - 0x80] : char32_t{byte});
    return i + 1;
}

// Well-formed UTF-8 is kept; each maximal ill-formed part becomes one U+FFFD.
std::size_t Utf8Character(std::string_view bytes, std::size_t i, std::string& out)
{
    const auto byte = static_cast<unsigned char>(bytes[i]);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (byte < 0x80) {
        length = 1;
    } else if (byte >= 0xC2 && byte <= 0xDF) {
        length = 2;
    } else if (byte >= 0xE0 && byte <= 0xEF) {
        length = 3;
        if (byte == 0xE0) low = 0xA0;
        if (byte == 0xED) high = 0x9F;
    } else if (byte >= 0xF0 && byte <= 0xF4) {
        length = 4;
        if (byte == 0xF0) low = 0x90;
        if (byte == 0xF4) high = 0x8F;
    }
    if (length == 0) {
        AppendCharacter(out, kReplacement);
        return i + 1;
    }
    std::size_t good = 1;
    while (good < length && i + good < bytes.size()) {
        const auto next = static_cast<unsigned char>(bytes[i + good]);
        const unsigned char from = good == 1 ? low : 0x80;
        const unsigned char to = good == 1 ? high : 0xBF;
        if (next < from || next > to) break;
        ++good;
    }
    if (good == length) {
        out.append(bytes.substr(i, length));
    } else {
        AppendCharacter(out, kReplacement);
    }
    return i + good;
}

// Where the run of ASCII bytes that starts at from ends, eight bytes at a time.
std::size_t AsciiRunEnd(std::string_view bytes, std::size_t from)
{
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    std::size_t i = from;
    while (i + sizeof(std::uint64_t) <= bytes.size()) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, sizeof word);
        if ((word & kHighBits) != 0) break;
        i += sizeof word;
    }
    while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) ++i;
    return i;
}

// Every code page here reads the ASCII bytes as themselves.
template <typename Character>
void Convert(std::string_view bytes, std::string& out, Character character)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t runEnd = AsciiRunEnd(bytes, i);
        out.append(bytes.substr(i, runEnd - i));
        i = runEnd;
        while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) >= 0x80) i = character(bytes, i, out);
    }
}

}  // namespace

std::optional<CodePage> ParseCodePage(std::string_view name)
{
    std::string lower;
    for (const char c : name) lower.push_back(LowerAscii(c));
    for (const CodePageName& known : kCodePageNames) {
        if (known.name == lower) return known.codePage;
    }
    return std::nullopt;
}

CodePage DefaultCodePage()
{
    switch (AnsiCodePage()) {
    case kAnsiWestern:
        return CodePage::Cp1252;
    case kAnsiUtf8:
        return CodePage::Utf8;
    case kAnsiShiftJis:
    default:
        return CodePage::Cp932;
    }
}

void AppendUtf8(std::string& out, std::string_view bytes, CodePage codePage)
{
    switch (codePage) {
    case CodePage::Cp932:
        Convert(bytes, out, Cp932Character);
        break;
    case CodePage::Cp1252:
        Convert(bytes, out, Cp1252Character);
        break;
    case CodePage::Utf8:
        Convert(bytes, out, Utf8Character);
        break;
    }
}

std::string ToUtf8(std::string_view bytes, CodePage codePage)
{
    std::string out;
    out.reserve(bytes.size());
    AppendUtf8(out, bytes, codePage);
    return out;
}

LeadByteTest LeadBytesOf(CodePage codePage)
{
    return codePage == CodePage::Cp932 ? &IsShiftJisLeadByte : nullptr;
}

}  // namespace kolvane
