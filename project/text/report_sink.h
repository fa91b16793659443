// Where a report's text goes: a text file (SourceFile), or a recording made
// ahead of time and played into the file later.
#pragma once

#include <cstddef>
#include <string_view>

namespace kolvane {

class ReportSink {
public:
    virtual ~ReportSink() = default;

    // Writes the text as one item; returns the number of items written (1 or 0).
    virtual std::size_t WriteBlock(std::string_view text) = 0;

    // Formatted write; the number of bytes formatted, negative on failure. A
    // %s argument ends at its first NUL, as in the C library.
    int Print(const char* format, ...) __attribute__((format(printf, 2, 3)));

protected:
    ReportSink() = default;
    ReportSink(const ReportSink&) = default;
    ReportSink& operator=(const ReportSink&) = default;
};

}  // namespace kolvane
