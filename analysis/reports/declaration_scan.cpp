#include "analysis/reports/declaration_scan.h"

#include "analysis/reports/list_banner.h"
#include "project/text/messages.h"
#include "project/text/source_text.h"

#include <algorithm>
#include <vector>

namespace kolvane {
namespace {

constexpr char kBlank = ' ';
constexpr std::size_t kMarkerCut = 2;  // the last two characters of a continued line
constexpr std::size_t kTriggerStretch = 16 << 10;

bool WriteClosingLine(ReportSink& report, const SectionTexts& texts, std::int32_t count)
{
    if (count > 0) return report.Print(texts.countFormat, count) >= 0;
    const std::string none(texts.noneText);
    return report.Print("%s", none.c_str()) >= 0;
}

}  // namespace

LineOutcome DeclarationJoiner::Start(std::string_view prefix, const LinePiece& line)
{
    text_.assign(prefix);
    return Continue(line);
}

LineOutcome DeclarationJoiner::Continue(const LinePiece& line)
{
    if (Contains(line.text, marker_)) {
        // The last two characters go, the newline being one of them.
        std::string_view kept = line.text;
        kept.remove_suffix(std::min(line.lineEnd ? kMarkerCut - 1 : kMarkerCut, kept.size()));
        text_.append(kept);
        pending_ = true;
        return LineOutcome::Next;
    }
    text_.append(line.text);
    if (line.lineEnd) text_.push_back('\n');
    pending_ = false;
    const bool written = report_.WriteBlock(text_) == 1;
    text_.clear();
    if (!written) return LineOutcome::WriteFailed;
    ++count_;
    return LineOutcome::Next;
}

int ListSection(ReportSink& report, std::string_view sourcePath, const ScannedModule& source, std::string_view marker,
                const SectionTexts& texts, std::span<const std::string_view> triggers, const LineHandler& handleLine,
                Reporter& reporter)
{
    if (source.outcome == ReadOutcome::CannotOpen) {
        reporter.Message(message::kCannotOpen, message::kOutputCaption);
        return 0;
    }
    if (texts.heading && !WriteFileHeading(report, sourcePath)) return 0;

    DeclarationJoiner declaration(report, marker);
    RawLinePieces lines(source.text, source.holdsNul);
    std::vector<Occurrences> places;
    for (const std::string_view trigger : triggers) places.emplace_back(source.text, trigger);
    bool scanEnded = false;
    while (!scanEnded) {
        if (!declaration.Pending()) {
            // The triggers are looked for a stretch at a time, all of them
            // over the same stretch, until one stands in it.
            const std::size_t from = lines.Position();
            std::size_t next = std::string_view::npos;
            for (std::size_t limit = from + kTriggerStretch; next == std::string_view::npos; limit += kTriggerStretch) {
                for (Occurrences& place : places) next = std::min(next, place.NextBefore(from, std::min(next, limit)));
                if (limit >= source.text.size()) break;
            }
            if (next == std::string_view::npos) break;
            lines.SkipToLineOf(next);
        }
        LinePiece line = lines.Read(kDeclarationLineSize);
        line.text.remove_prefix(std::min(line.text.find_first_not_of(kBlank), line.text.size()));
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
