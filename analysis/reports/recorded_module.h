// One module's part of a list report worked out ahead of its turn: the
// blocks it writes and what it reports, recorded in order, then played into
// the report when the module's turn comes. When the report refuses a block
// during the playback, the work is done again over the same source from that
// block on, so that what follows the failed write is what it would have been
// had the module written straight into the report.
#pragma once

#include "analysis/reports/text_report.h"
#include "project/text/report_sink.h"
#include "project/text/reporter.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

class RecordedModule final : public PreparedModule, public ReportSink, public Reporter {
public:
    std::size_t WriteBlock(std::string_view text) override;
    void Message(std::string_view text, std::string_view caption) override;
    void Trace(std::string_view line) override;

    // What the work returned.
    bool result = false;

    // Plays the blocks and the reports back in their order. kAllWritten when
    // the report took every block, else the number of the block it refused;
    // nothing after that block is played.
    static constexpr std::size_t kAllWritten = static_cast<std::size_t>(-1);
    std::size_t PlayBack(ReportSink& report, Reporter& reporter) const;

private:
    struct Report {
        std::size_t blocksBefore;
        bool message;
        std::string text;
        std::string caption;
    };

    std::string blocks_;
    std::vector<std::size_t> blockEnds_;
    std::vector<Report> reports_;
};

// The sink and reporter of the work done again after the report refused
// block `refused` of a playback: the blocks before it are passed over (the
// report has them), that block fails again without a second write, and the
// blocks after it go to the report. Reports before the failure were played
// already; those from the failure on go to the reporter.
class ResumedAfterRefusal final : public ReportSink, public Reporter {
public:
    ResumedAfterRefusal(ReportSink& report, Reporter& reporter, std::size_t refused)
        : report_(report), reporter_(reporter), refused_(refused)
    {
    }

    std::size_t WriteBlock(std::string_view text) override;
    void Message(std::string_view text, std::string_view caption) override;
    void Trace(std::string_view line) override;

private:
    bool PastRefusal() const { return blocks_ > refused_; }

    ReportSink& report_;
    Reporter& reporter_;
    std::size_t refused_;
    std::size_t blocks_ = 0;
};

}  // namespace kolvane
