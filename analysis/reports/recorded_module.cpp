#include "analysis/reports/recorded_module.h"

namespace kolvane {

std::size_t RecordedModule::WriteBlock(std::string_view text)
{
    blocks_.append(text);
    blockEnds_.push_back(blocks_.size());
    return 1;
}

void RecordedModule::Message(std::string_view text, std::string_view caption)
{
    reports_.push_back({blockEnds_.size(), true, std::string(text), std::string(caption)});
}

void RecordedModule::Trace(std::string_view line)
{
    reports_.push_back({blockEnds_.size(), false, std::string(line), {}});
}

std::size_t RecordedModule::PlayBack(ReportSink& report, Reporter& reporter) const
{
    std::size_t nextReport = 0;
    const auto playReportsBefore = [&](std::size_t block) {
        for (; nextReport < reports_.size() && reports_[nextReport].blocksBefore <= block; ++nextReport) {
            const Report& played = reports_[nextReport];
            if (played.message) {
                reporter.Message(played.text, played.caption);
            } else {
                reporter.Trace(played.text);
            }
        }
    };
    std::size_t start = 0;
    for (std::size_t block = 0; block < blockEnds_.size(); ++block) {
        playReportsBefore(block);
        const std::string_view text(blocks_.data() + start, blockEnds_[block] - start);
        if (report.WriteBlock(text) != 1) return block;
        start = blockEnds_[block];
    }
    playReportsBefore(blockEnds_.size());
    return kAllWritten;
}

std::size_t ResumedAfterRefusal::WriteBlock(std::string_view text)
{
    const std::size_t block = blocks_++;
    if (block < refused_) return 1;
    if (block == refused_) return 0;
    return report_.WriteBlock(text);
}

void ResumedAfterRefusal::Message(std::string_view text, std::string_view caption)
{
    if (PastRefusal()) reporter_.Message(text, caption);
}

void ResumedAfterRefusal::Trace(std::string_view line)
{
    if (PastRefusal()) reporter_.Trace(line);
}

}  // namespace kolvane
