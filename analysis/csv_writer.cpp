#include "analysis/csv_writer.h"

namespace kolvane {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kRowEnd = "\r\n";
constexpr std::string_view kNeedsQuotes = ",\"\r\n";
constexpr char kQuote = '"';
constexpr char kSeparator = ',';

}  // namespace

std::string CsvField(std::string_view text)
{
    if (text.find_first_of(kNeedsQuotes) == std::string_view::npos) return std::string(text);
    std::string field(1, kQuote);
    for (const char c : text) {
        if (c == kQuote) field.push_back(kQuote);
        field.push_back(c);
    }
    field.push_back(kQuote);
    return field;
}

bool CsvWriter::Open(std::string_view path, std::initializer_list<std::string_view> columns)
{
    file_.reset(std::fopen(std::string(path).c_str(), "wb"));
    if (!file_) return false;
    failed_ = std::fwrite(kByteOrderMark.data(), 1, kByteOrderMark.size(), file_.get()) != kByteOrderMark.size();
    for (const std::string_view column : columns) Text(column);
    EndRow();
    return true;
}

void CsvWriter::Separate()
{
    if (rowStarted_) row_.push_back(kSeparator);
    rowStarted_ = true;
}

void CsvWriter::Text(std::string_view utf8)
{
    Separate();
    row_.append(CsvField(utf8));
}

void CsvWriter::Number(std::int64_t value)
{
    Separate();
    row_.append(std::to_string(value));
}

void CsvWriter::Empty()
{
    Separate();
}

void CsvWriter::EndRow()
{
    row_.append(kRowEnd);
    if (file_ && std::fwrite(row_.data(), 1, row_.size(), file_.get()) != row_.size()) failed_ = true;
    row_.clear();
    rowStarted_ = false;
}

bool CsvWriter::Close()
{
    if (!file_) return false;
    const bool closed = std::fclose(file_.release()) == 0;
    return closed && !failed_;
}

}  // namespace kolvane
