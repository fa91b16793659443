// The rules of the step count: how a piece of a line (at most 510 bytes, see
// ScanModule) counts, as a step (a counted line of code), a comment line or
// neither; and the figures of a module and of a kind of module.
#pragma once

#include "project/model/module_kind.h"
#include "project/text/strings.h"

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
    PieceVerdict operator()(std::string_view piece)
    {
        std::string_view trimmed;
        return (*this)(piece, trimmed);
    }
    // The same, telling the piece without its leading blanks too.
    PieceVerdict operator()(std::string_view piece, std::string_view& trimmed);

private:
    std::string_view text_;
    Occurrences options_;
    Occurrences continuations_;
};

// The line that ends the header of every kind but the standard module.
inline constexpr std::string_view kHeaderEnd = "Attribute VB_Exposed";

}  // namespace kolvane
