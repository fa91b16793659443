#include "analysis/declaration_scan.h"

#include "analysis/list_banner.h"
#include "analysis/report_texts.h"
#include "project/platform.h"
#include "project/strings.h"

#include <algorithm>
#include <array>

namespace kolvane {
namespace {

constexpr unsigned kTrimLeadingBlanks = 1;
constexpr std::size_t kMarkerCut = 2;  // the last two characters of a continued line

bool WriteClosingLine(SourceFile& report, const SectionTexts& texts, std::int32_t count)
{
    if (count > 0) return report.Print(texts.countFormat, count) >= 0;
    const std::string none(texts.noneText);
    return report.Print("%s", none.c_str()) >= 0;
}

}  // namespace

LineOutcome DeclarationJoiner::Start(std::string_view prefix, std::string_view line)
{
    text_.assign(prefix);
    return Continue(line);
}

LineOutcome DeclarationJoiner::Continue(std::string_view line)
{
    if (Contains(line, marker_)) {
        line.remove_suffix(std::min(kMarkerCut, line.size()));
        text_.append(line);
        pending_ = true;
        return LineOutcome::Next;
    }
    text_.append(line);
    pending_ = false;
    const bool written = report_.WriteBlock(text_) == 1;
    text_.clear();
    if (!written) return LineOutcome::WriteFailed;
    ++count_;
    return LineOutcome::Next;
}

int ListSection(SourceFile& report, std::string_view sourcePath, std::string_view marker, const SectionTexts& texts,
                const LineHandler& handleLine)
{
    SourceFile source;  // closed when it goes out of scope, on every path
    if (OpenSourceFile(source, sourcePath, kModeRead) != 1) {
        ShowMessage(report_text::kCannotOpen, report_text::kOutputCaption);
        return 0;
    }
    if (texts.heading && !WriteFileHeading(report, sourcePath)) return 0;

    DeclarationJoiner declaration(report, marker);
    std::array<char, kDeclarationLineSize> raw{};
    std::array<char, kDeclarationLineSize> trimmed{};
    bool writeFailed = false;
    const LoopEnd end = ForEachLine(source, raw, [&](char* line) {
        trimmed.fill('\0');
        TrimSpaces(line, 0, kTrimLeadingBlanks, trimmed);
        switch (handleLine(std::string_view(trimmed.data()), declaration)) {
        case LineOutcome::Next:
            return true;
        case LineOutcome::WriteFailed:
            writeFailed = true;
            return false;
        case LineOutcome::EndScan:
            return false;
        }
        return false;
    });
    if (writeFailed || end == LoopEnd::ReadError) return 0;
    return WriteClosingLine(report, texts, declaration.Count()) ? 1 : 0;
}

}  // namespace kolvane
