// The step and comment counter: classifies a module's lines, in pieces of at
// most 510 bytes, into steps (counted lines of code), comment lines and
// lines that count as neither.
#pragma once

#include "project/module_kind.h"
#include "project/strings.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace kolvane {

// The steps and comment lines of one module, or of one kind of module.
struct Figures {
    std::int32_t steps = 0;
    std::int32_t comments = 0;
};

// Figures per kind of the module table: frm, bas, cls.
using KindCounts = std::array<Figures, kTableKindCount>;

// 32-bit sums as a 32-bit counter keeps them: past 2^31 they wrap, with the
// arithmetic defined.
constexpr std::int32_t Sum32(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

constexpr void AddFigures(Figures& total, const Figures& more)
{
    total.steps = Sum32(total.steps, more.steps);
    total.comments = Sum32(total.comments, more.comments);
}

// What one piece of a line is, its leading blanks aside. The piece comes
// without its newline and ends at its first NUL.
enum class PieceVerdict {
    Nothing,    // empty, "Option Explicit", "Option Private Module", or holding "Option Base"/"Option Compare"
    Comment,    // begins with an apostrophe
    Continued,  // holds " _": only the last physical line of a statement is a step
    Step,
};

// Classifies the pieces of one module, given front to back as views into
// its text. "Option " and " _" are looked for through the text once, ahead
// of the pieces, rather than in every piece.
class PieceClassifier {
public:
    explicit PieceClassifier(std::string_view moduleText);
    PieceVerdict operator()(std::string_view piece);

private:
    std::string_view text_;
    Occurrences options_;
    Occurrences continuations_;
};

// The counter's pieces: reads of at most 510 bytes up to and including LF.
inline constexpr std::size_t kCounterReadSize = 511;
// The line that ends the header of every kind but the standard module.
inline constexpr std::string_view kHeaderEnd = "Attribute VB_Exposed";

// The figures of one module's text as stored (see ReadRawText). A module
// with a header counts only the pieces after the first one holding
// "Attribute VB_Exposed" (none when there is no such piece); a standard
// module takes one off its steps at the end, whatever it held. Sums wrap in
// 32 bits.
Figures CountSourceText(std::string_view text, ModuleKind kind);
// The same for a text known to hold a NUL or not (see ReadRawText).
Figures CountSourceText(std::string_view text, ModuleKind kind, bool holdsNul);

}  // namespace kolvane
