#include "analysis/source/step_counter.h"

#include "project/text/strings.h"

#include <bit>
#include <cstdint>
#include <cstring>

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

// "Option Base" or "Option Compare" anywhere in [from, end) of the text.
bool HoldsOptionBaseOrCompare(std::string_view text, Occurrences& options, std::size_t from, std::size_t end)
{
    for (std::size_t at = options.NextBefore(from, end); at != std::string_view::npos;
         at = options.NextBefore(at + 1, end)) {
        const std::string_view rest = text.substr(at, end - at);
        if (rest.starts_with(kOptionBase) || rest.starts_with(kOptionCompare)) return true;
    }
    return false;
}

// Indentation is skipped eight bytes at a time.
std::string_view WithoutLeadingBlanks(std::string_view text)
{
    constexpr std::uint64_t kBlanks = 0x2020202020202020u;
    std::size_t first = 0;
    for (; first + sizeof kBlanks <= text.size(); first += sizeof kBlanks) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + first, sizeof word);
        if (word != kBlanks) {
            // The lowest byte that differs from a blank, in memory order.
            const std::uint64_t differs = word ^ kBlanks;
            first += static_cast<std::size_t>(std::endian::native == std::endian::little ? std::countr_zero(differs)
                                                                                         : std::countl_zero(differs)) /
                     8;
            return text.substr(first);
        }
    }
    while (first < text.size() && text[first] == kBlank) ++first;
    return first == text.size() ? std::string_view{} : text.substr(first);
}

}  // namespace

PieceClassifier::PieceClassifier(std::string_view moduleText)
    : text_(moduleText), options_(moduleText, kOption), continuations_(moduleText, kContinuation)
{
}

PieceVerdict PieceClassifier::operator()(std::string_view piece, std::string_view& trimmed)
{
    trimmed = piece = WithoutLeadingBlanks(piece);
    if (piece.empty()) return PieceVerdict::Nothing;
    const std::size_t start = static_cast<std::size_t>(piece.data() - text_.data());
    const std::size_t end = start + piece.size();
    if (piece == kOptionExplicit || piece == kOptionPrivateModule ||
        HoldsOptionBaseOrCompare(text_, options_, start, end)) {
        return PieceVerdict::Nothing;
    }
    if (piece.front() == kCommentMark) return PieceVerdict::Comment;
    // " _" whole within the piece: it starts before the piece's last byte.
    if (continuations_.NextBefore(start, end - 1) != std::string_view::npos) return PieceVerdict::Continued;
    return PieceVerdict::Step;
}

}  // namespace kolvane
