// What the procedure, property and API extractors have in common: reading a
// source file line by line with the leading blanks removed, joining a
// declaration continued over several lines into one report line, and the
// closing line with the number of declarations written.
#pragma once

#include "analysis/reports/text_report.h"
#include "project/text/reporter.h"
#include "project/text/source_file.h"
#include "project/text/source_text.h"

#include "project/text/strings.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace kolvane {

// The line buffers of the extractors: reads of at most 1,023 bytes, so a
// longer line arrives in pieces, each handled as a line of its own.
inline constexpr std::size_t kDeclarationLineSize = 1024;

// Continuation markers: ", _" for procedures and properties, " _" for API
// declarations.
inline constexpr std::string_view kCommaContinuation = ", _";
inline constexpr std::string_view kBlankContinuation = " _";

// What the handling of one line asks of the scan.
enum class LineOutcome { Next, EndScan, WriteFailed };

// A line as the extractors see it: without its leading blanks, ending at a
// NUL, and the newline apart (see LinePiece).
inline bool IsCommentLine(const LinePiece& line) { return line.text.starts_with('\''); }
// The empty read that meets the end of the data (or a line that is a NUL at once).
inline bool IsEmptyRead(const LinePiece& line) { return line.text.empty() && !line.lineEnd; }
// A line that holds nothing but its newline.
inline bool IsBlankLine(const LinePiece& line) { return line.text.empty() && line.lineEnd; }

// The declaration being collected for the report, with the number written.
class DeclarationJoiner {
public:
    DeclarationJoiner(ReportSink& report, std::string_view marker) : report_(report), marker_(marker) {}

    bool Pending() const { return pending_; }
    std::int32_t Count() const { return count_; }

    // A new declaration: the prefix ("Public " for an undecorated procedure,
    // else nothing), then the line as Continue takes it.
    LineOutcome Start(std::string_view prefix, const LinePiece& line);

    // A line holding the marker anywhere loses its last two characters (for
    // a line ending in the marker and a line end: the underscore and the line
    // end) and the declaration stays pending. Any other line is appended
    // whole and ends the declaration, which is written as one block and
    // counted.
    LineOutcome Continue(const LinePiece& line);

private:
    ReportSink& report_;
    std::string_view marker_;
    std::string text_;  // grows: a long joined declaration is written whole
    bool pending_ = false;
    std::int32_t count_ = 0;
};

// Handles one line.
using LineHandler = std::function<LineOutcome(const LinePiece& line, DeclarationJoiner& declaration)>;

struct SectionTexts {
    bool heading;                // "-- TITLE --" before the declarations
    const char* countFormat;     // closing line with the count ("%d")
    std::string_view noneText;   // closing line when nothing was written
};

// One extractor pass over a module's source: a source that could not be
// opened is reported; otherwise it writes the heading when the texts ask for
// it, hands every line read (without its leading blanks, up to its first NUL)
// to the handler until the end of the data or EndScan, then writes the
// closing line. A declaration still pending at the end is dropped. 1 on
// success; 0 when the source could not be opened or read, or a write to the
// report failed.
//
// While no declaration is pending, a line holding none of the triggers is
// one the handler passes over; the scan then goes straight to the next line
// holding one, the end of the data standing for the rest.
int ListSection(ReportSink& report, std::string_view sourcePath, const ScannedModule& source,
                std::string_view marker, const SectionTexts& texts, std::span<const std::string_view> triggers,
                const LineHandler& handleLine, Reporter& reporter);

}  // namespace kolvane
