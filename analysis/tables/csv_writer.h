// A CSV file for spreadsheets: UTF-8 with a byte-order mark, RFC 4180 fields
// (quoted when they hold a comma, a double quote, CR or LF; a double quote
// doubled), CR LF after every row. Fields are written straight into one
// output buffer, which goes to the file whenever it has grown past a block;
// rows made on another thread (CsvRows) are appended whole.
#pragma once

#include "analysis/source/code_page.h"

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace kolvane {

// Rows of CSV text being made: fields added one after the other, each row
// ended with its CR LF.
class CsvRows {
public:
    // Adds a field of UTF-8 text, of text in a code page (converted to
    // UTF-8), a number or nothing to the current row.
    void Text(std::string_view utf8);
    void Converted(std::string_view bytes, CodePage codePage);
    void Number(std::int64_t value);
    void Empty();
    // Adds fields made before (the bytes of another CsvRows' row, without
    // its row end) to the current row.
    void Fields(std::string_view csv);
    // Ends the current row with its CR LF.
    void EndRow();

    std::string_view Bytes() const { return buffer_; }

protected:
    void Separate();

    std::string buffer_;

private:
    std::string quoting_;  // a field that needs quotes, while it is quoted
    bool rowStarted_ = false;
};

class CsvWriter : public CsvRows {
public:
    // Creates the file (replacing one of that name) and writes the byte-order
    // mark and the header row. False when it cannot be created.
    bool Open(std::string_view path, std::span<const std::string_view> columns);
    bool Open(std::string_view path, std::initializer_list<std::string_view> columns)
    {
        return Open(path, std::span<const std::string_view>(columns.begin(), columns.size()));
    }

    // Ends the current row; the rows go to the file once they fill a block.
    void EndRow();
    // Adds whole rows made elsewhere.
    void Append(const CsvRows& rows);

    // Writes what is left and closes the file; true when every byte was
    // written and the close worked.
    bool Close();

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    void Flush();
    void Write(std::string_view bytes);

    std::unique_ptr<std::FILE, Closer> file_;
    bool failed_ = false;
};

// What a file begins with: the byte-order mark and the header row.
std::string CsvHead(std::span<const std::string_view> columns);

// A field as RFC 4180 writes it.
std::string CsvField(std::string_view text);

}  // namespace kolvane
