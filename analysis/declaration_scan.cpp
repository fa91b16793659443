#include "analysis/declaration_scan.h"

#include "analysis/list_banner.h"
#include "analysis/report_texts.h"
#include "project/source_text.h"

#include <algorithm>

namespace kolvane {
namespace {

constexpr char kBlank = ' ';
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

int ListSection(SourceFile& report, std::string_view sourcePath, const ModuleSource& source,
                std::string_view marker, const SectionTexts& texts, const LineHandler& handleLine,
                Reporter& reporter)
{
    if (source.outcome == ReadOutcome::CannotOpen) {
        reporter.Message(report_text::kCannotOpen, report_text::kOutputCaption);
        return 0;
    }
    if (texts.heading && !WriteFileHeading(report, sourcePath)) return 0;

    DeclarationJoiner declaration(report, marker);
    LinePieces lines(source.text);
    bool scanEnded = false;
    while (!scanEnded) {
        std::string_view line = lines.Read(kDeclarationLineSize);
        line = line.substr(0, line.find('\0'));
        line.remove_prefix(std::min(line.find_first_not_of(kBlank), line.size()));
        const LineOutcome outcome = handleLine(line, declaration);
        if (outcome == LineOutcome::WriteFailed) return 0;
        scanEnded = outcome == LineOutcome::EndScan;
        if (!scanEnded && lines.AtEnd()) break;
    }
    // A read error ended the data early: the section is incomplete.
    if (!scanEnded && source.outcome == ReadOutcome::ReadError) return 0;
    return WriteClosingLine(report, texts, declaration.Count()) ? 1 : 0;
}

}  // namespace kolvane
