#include "analysis/step_counter.h"

#include "project/source_text.h"
#include "project/strings.h"

#include <cstdint>

namespace kolvane {
namespace {

constexpr char kBlank = ' ';
constexpr std::string_view kOptionExplicit = "Option Explicit";
constexpr std::string_view kOptionPrivateModule = "Option Private Module";
constexpr std::string_view kOption = "Option ";
constexpr std::string_view kOptionBase = "Option Base";
constexpr std::string_view kOptionCompare = "Option Compare";
constexpr char kCommentMark = '\'';
constexpr std::string_view kContinuation = " _";

// "Option Base" or "Option Compare" anywhere in the piece.
bool HoldsOptionBaseOrCompare(std::string_view piece)
{
    for (std::size_t at = piece.find(kOption); at != std::string_view::npos; at = piece.find(kOption, at + 1)) {
        const std::string_view rest = piece.substr(at);
        if (rest.starts_with(kOptionBase) || rest.starts_with(kOptionCompare)) return true;
    }
    return false;
}

// " _" anywhere in the piece, found from its rarer second byte.
bool HoldsContinuation(std::string_view piece)
{
    for (std::size_t at = piece.find(kContinuation[1], 1); at != std::string_view::npos;
         at = piece.find(kContinuation[1], at + 1)) {
        if (piece[at - 1] == kContinuation[0]) return true;
    }
    return false;
}

std::string_view WithoutLeadingBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(kBlank);
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

}  // namespace

PieceClassifier::PieceClassifier(std::string_view moduleText)
    : mayHoldOption_(Contains(moduleText, kOptionBase) || Contains(moduleText, kOptionCompare))
{
}

PieceVerdict PieceClassifier::operator()(std::string_view piece) const
{
    piece = WithoutLeadingBlanks(piece);
    if (piece.empty() || piece == kOptionExplicit || piece == kOptionPrivateModule ||
        (mayHoldOption_ && HoldsOptionBaseOrCompare(piece))) {
        return PieceVerdict::Nothing;
    }
    if (piece.front() == kCommentMark) return PieceVerdict::Comment;
    if (HoldsContinuation(piece)) return PieceVerdict::Continued;
    return PieceVerdict::Step;
}

Figures CountSourceText(std::string_view text, ModuleKind kind)
{
    std::uint32_t steps = 0;
    std::uint32_t comments = 0;
    bool headerPassed = !HasHeader(kind);
    const PieceClassifier classify(text);

    RawLinePieces pieces(text);
    do {
        const std::string_view visible = pieces.Read(kCounterReadSize).text;
        if (!headerPassed) {
            headerPassed = Contains(visible, kHeaderEnd);
            continue;
        }
        switch (classify(visible)) {
        case PieceVerdict::Comment:
            ++comments;
            break;
        case PieceVerdict::Step:
            ++steps;
            break;
        case PieceVerdict::Nothing:
        case PieceVerdict::Continued:
            break;
        }
    } while (!pieces.AtEnd());

    if (kind == ModuleKind::Bas) --steps;  // the standard module's reduction
    return {static_cast<std::int32_t>(steps), static_cast<std::int32_t>(comments)};
}

}  // namespace kolvane
