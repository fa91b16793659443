#include "analysis/step_counter.h"

#include "project/source_file.h"
#include "project/strings.h"
#include "project/trace.h"

#include <array>

namespace kolvane {
namespace {

// A line arrives in pieces of at most 510 bytes; each piece is a line of its own.
constexpr std::size_t kLineBufferSize = 511;
constexpr unsigned kTrimLeadingBlanks = 1;
constexpr char kBlank = ' ';

constexpr std::string_view kHeaderEnd = "Attribute VB_Exposed";
constexpr std::string_view kOptionExplicit = "Option Explicit";
constexpr std::string_view kOptionPrivateModule = "Option Private Module";
constexpr std::string_view kOption = "Option ";
constexpr std::string_view kOptionBase = "Option Base";
constexpr std::string_view kOptionCompare = "Option Compare";
constexpr char kCommentMark = '\'';
constexpr std::string_view kContinuation = " _";

constexpr std::string_view kReadError = "ファイル読み込みエラー";

// Whether the header of the form or class file being counted has been
// passed. Every counter closes it before reading its first line.
bool g_headerPassed = false;

// What sets the three counters apart.
struct CounterKind {
    bool hasHeader;
    std::int32_t KindCounts::*steps;
    std::int32_t KindCounts::*comments;
    std::int32_t stepsAfterLastLine;
};

constexpr CounterKind kFormCounter{true, &KindCounts::frmSteps, &KindCounts::frmComments, 0};
constexpr CounterKind kStandardCounter{false, &KindCounts::basSteps, &KindCounts::basComments, -1};
constexpr CounterKind kClassCounter{true, &KindCounts::clsSteps, &KindCounts::clsComments, 0};

enum class Verdict { Nothing, Comment, Step };

bool Contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

// "Option Base" or "Option Compare" anywhere in the line.
bool HoldsOptionBaseOrCompare(std::string_view line)
{
    for (std::size_t at = line.find(kOption); at != std::string_view::npos; at = line.find(kOption, at + 1)) {
        const std::string_view rest = line.substr(at);
        if (rest.starts_with(kOptionBase) || rest.starts_with(kOptionCompare)) return true;
    }
    return false;
}

// " _" anywhere in the line, found from its rarer second byte.
bool HoldsContinuation(std::string_view line)
{
    for (std::size_t at = line.find(kContinuation[1], 1); at != std::string_view::npos;
         at = line.find(kContinuation[1], at + 1)) {
        if (line[at - 1] == kContinuation[0]) return true;
    }
    return false;
}

// A line without its leading blanks and its newline.
Verdict Classify(std::string_view line)
{
    if (line.empty() || line == kOptionExplicit || line == kOptionPrivateModule || HoldsOptionBaseOrCompare(line)) {
        return Verdict::Nothing;
    }
    if (line.front() == kCommentMark) return Verdict::Comment;
    // Only the last physical line of a continued statement is a step.
    if (HoldsContinuation(line)) return Verdict::Nothing;
    return Verdict::Step;
}

int CountLines(std::string_view path, KindCounts& counts, const CounterKind& kind)
{
    if (!FileExists(path)) {
        TraceBare(trace_text::kNotFound);
        return -1;
    }
    SourceFile file;
    if (OpenSourceFile(file, path, kModeRead) != 1) {
        Trace(trace_text::kOpenError);
        return 0;
    }
    Trace(trace_text::kOpened);
    g_headerPassed = false;

    std::array<char, kLineBufferSize> line;
    std::array<char, kLineBufferSize> trimmed;
    const LoopEnd end = ForEachLine(file, line, [&](char* text) {
        std::string_view current(text);
        if (current.ends_with('\n')) current.remove_suffix(1);

        if (kind.hasHeader && !g_headerPassed) {
            if (Contains(current, kHeaderEnd)) g_headerPassed = true;
            return true;
        }

        // The copy keeps the newline, which the view of it leaves out: its
        // length is the line's less the leading blanks. The copy is always
        // terminated, so nothing of an earlier line shows.
        TrimSpaces(text, 0, kTrimLeadingBlanks, trimmed);
        std::size_t blanks = 0;
        while (text[blanks] == kBlank) ++blanks;
        switch (Classify({trimmed.data(), current.size() - blanks})) {
        case Verdict::Comment:
            ++(counts.*kind.comments);
            break;
        case Verdict::Step:
            ++(counts.*kind.steps);
            break;
        case Verdict::Nothing:
            break;
        }
        return true;
    });
    counts.*kind.steps += kind.stepsAfterLastLine;

    if (CloseSourceFile(file) != 1) {
        Trace(trace_text::kCloseError);
        return 0;
    }
    if (end == LoopEnd::ReadError) {
        Trace(kReadError);
        return 0;
    }
    Trace(trace_text::kClosed);
    return 1;
}

}  // namespace

int CountFrmLines(std::string_view path, KindCounts& counts)
{
    return CountLines(path, counts, kFormCounter);
}

int CountBasLines(std::string_view path, KindCounts& counts)
{
    return CountLines(path, counts, kStandardCounter);
}

int CountClsLines(std::string_view path, KindCounts& counts)
{
    return CountLines(path, counts, kClassCounter);
}

}  // namespace kolvane
