#include "analysis/tables/csv_writer.h"

#include <algorithm>
#include <array>
#include <charconv>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace kolvane {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kRowEnd = "\r\n";
constexpr std::string_view kNeedsQuotes = ",\"\r\n";
constexpr char kQuote = '"';
constexpr char kSeparator = ',';
constexpr std::size_t kFlushSize = 1 << 16;

// The bytes that make a field quoted, as a table: the library's
// find_first_of looks each byte of the text up in the set with a call.
constexpr std::array<bool, 256> kQuotedBytes = [] {
    std::array<bool, 256> bytes{};
    for (const char c : kNeedsQuotes) bytes[static_cast<unsigned char>(c)] = true;
    return bytes;
}();

bool NeedsQuotes(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return kQuotedBytes[static_cast<unsigned char>(c)]; });
}

// What a field in a code page needs. ASCII bytes are their own UTF-8 in
// every code page, so an ASCII field is copied as it is, quoted when one of
// its bytes asks for it; as most fields are.
enum class FieldBytes { Plain, AsciiQuoted, Other };

FieldBytes ClassifyField(std::string_view bytes)
{
    std::size_t at = 0;
    bool quoted = false;
#ifdef __SSE2__
    constexpr std::size_t kGroup = 16;
    const __m128i commas = _mm_set1_epi8(kSeparator);
    const __m128i quotes = _mm_set1_epi8(kQuote);
    const __m128i returns = _mm_set1_epi8('\r');
    const __m128i lineFeeds = _mm_set1_epi8('\n');
    for (; at + kGroup <= bytes.size(); at += kGroup) {
        const __m128i group = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + at));
        if (_mm_movemask_epi8(group) != 0) return FieldBytes::Other;  // the high bit of a non-ASCII byte
        const __m128i marked = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(group, commas), _mm_cmpeq_epi8(group, quotes)),
                                            _mm_or_si128(_mm_cmpeq_epi8(group, returns), _mm_cmpeq_epi8(group, lineFeeds)));
        quoted = quoted || _mm_movemask_epi8(marked) != 0;
    }
#endif
    for (; at < bytes.size(); ++at) {
        const auto byte = static_cast<unsigned char>(bytes[at]);
        if (byte >= 0x80) return FieldBytes::Other;
        quoted = quoted || kQuotedBytes[byte];
    }
    return quoted ? FieldBytes::AsciiQuoted : FieldBytes::Plain;
}

void AppendQuoted(std::string_view text, std::string& out)
{
    out.push_back(kQuote);
    for (std::size_t quote = text.find(kQuote); quote != std::string_view::npos; quote = text.find(kQuote)) {
        out.append(text.substr(0, quote + 1)).push_back(kQuote);  // the quote doubled
        text.remove_prefix(quote + 1);
    }
    out.append(text).push_back(kQuote);
}

}  // namespace

std::string CsvField(std::string_view text)
{
    if (!NeedsQuotes(text)) return std::string(text);
    std::string field;
    AppendQuoted(text, field);
    return field;
}

std::string CsvHead(std::span<const std::string_view> columns)
{
    CsvRows header;
    for (const std::string_view column : columns) header.Text(column);
    header.EndRow();
    return std::string(kByteOrderMark).append(header.Bytes());
}

bool CsvWriter::Open(std::string_view path, std::span<const std::string_view> columns)
{
    file_.reset(std::fopen(std::string(path).c_str(), "wb"));
    if (!file_) return false;
    buffer_.reserve(kFlushSize + kFlushSize / 4);
    buffer_.append(CsvHead(columns));
    return true;
}

void CsvRows::Separate()
{
    if (rowStarted_) buffer_.push_back(kSeparator);
    rowStarted_ = true;
}

void CsvRows::Text(std::string_view utf8)
{
    Separate();
    if (NeedsQuotes(utf8)) {
        AppendQuoted(utf8, buffer_);
    } else {
        buffer_.append(utf8);
    }
}

void CsvRows::Converted(std::string_view bytes, CodePage codePage)
{
    Separate();
    switch (ClassifyField(bytes)) {
    case FieldBytes::Plain:
        buffer_.append(bytes);
        return;
    case FieldBytes::AsciiQuoted:
        AppendQuoted(bytes, buffer_);
        return;
    case FieldBytes::Other:
        break;
    }
    const std::size_t start = buffer_.size();
    AppendUtf8(buffer_, bytes, codePage);
    const std::string_view field = std::string_view(buffer_).substr(start);
    if (!NeedsQuotes(field)) return;
    quoting_.assign(field);
    buffer_.resize(start);
    AppendQuoted(quoting_, buffer_);
}

void CsvRows::Number(std::int64_t value)
{
    Separate();
    char digits[24];
    const std::to_chars_result written = std::to_chars(std::begin(digits), std::end(digits), value);
    buffer_.append(digits, written.ptr);
}

void CsvRows::Empty()
{
    Separate();
}

void CsvRows::Fields(std::string_view csv)
{
    Separate();
    buffer_.append(csv);
}

void CsvRows::EndRow()
{
    buffer_.append(kRowEnd);
    rowStarted_ = false;
}

void CsvWriter::EndRow()
{
    CsvRows::EndRow();
    if (buffer_.size() >= kFlushSize) Flush();
}

void CsvWriter::Append(const CsvRows& rows)
{
    const std::string_view bytes = rows.Bytes();
    if (bytes.size() < kFlushSize) {
        buffer_.append(bytes);
        if (buffer_.size() >= kFlushSize) Flush();
        return;
    }
    Flush();  // a block of rows goes to the file as it stands, after the rows before it
    Write(bytes);
}

void CsvWriter::Flush()
{
    Write(buffer_);
    buffer_.clear();
}

void CsvWriter::Write(std::string_view bytes)
{
    if (file_ && std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) != bytes.size()) failed_ = true;
}

bool CsvWriter::Close()
{
    if (!file_) return false;
    Flush();
    const bool closed = std::fclose(file_.release()) == 0;
    return closed && !failed_;
}

}  // namespace kolvane
