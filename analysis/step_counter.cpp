#include "analysis/step_counter.h"

#include "project/source_file.h"
#include "project/strings.h"
#include "project/trace.h"

#include <array>
#include <cstring>

namespace kolvane {
namespace {

// A line arrives in pieces of at most 510 bytes; each piece is a line of its own.
constexpr std::size_t kLineBufferSize = 511;
constexpr unsigned kTrimLeadingBlanks = 1;

constexpr std::string_view kHeaderEnd = "Attribute VB_Exposed";
constexpr std::string_view kOptionExplicit = "Option Explicit";
constexpr std::string_view kOptionPrivateModule = "Option Private Module";
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

// A line without its leading blanks and its newline.
Verdict Classify(std::string_view line)
{
    if (line.empty() || line == kOptionExplicit || line == kOptionPrivateModule || Contains(line, kOptionBase) ||
        Contains(line, kOptionCompare)) {
        return Verdict::Nothing;
    }
    if (line.front() == kCommentMark) return Verdict::Comment;
    // Only the last physical line of a continued statement is a step.
    if (Contains(line, kContinuation)) return Verdict::Nothing;
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
        std::size_t length = std::strlen(text);
        if (length > 0 && text[length - 1] == '\n') text[--length] = '\0';

        if (kind.hasHeader && !g_headerPassed) {
            if (Contains(std::string_view(text, length), kHeaderEnd)) g_headerPassed = true;
            return true;
        }

        trimmed.fill('\0');
        TrimSpaces(text, 0, kTrimLeadingBlanks, trimmed);
        switch (Classify(trimmed.data())) {
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
