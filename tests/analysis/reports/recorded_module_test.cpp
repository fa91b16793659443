// A list section recorded ahead of its turn and played into a report that
// refuses a block ends as the section written straight into that report.
#include "analysis/reports/procedure_list.h"
#include "analysis/reports/recorded_module.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace kolvane {
namespace {

using testing::RecordingReporter;

// Takes blocks until the one numbered refused, which it refuses.
class RefusingReport final : public ReportSink {
public:
    explicit RefusingReport(std::size_t refused) : refused_(refused) {}

    std::size_t WriteBlock(std::string_view text) override
    {
        if (blocks_++ == refused_) return 0;
        written.append(text).append("|");
        return 1;
    }

    std::string written;

private:
    std::size_t refused_;
    std::size_t blocks_ = 0;
};

constexpr std::string_view kSource =
    "Public Sub A(x As Long, _\r\n    y As Long)\r\nEnd Sub\r\nFunction B()\r\nEnd Function\r\n"
    "Property Get C() As Long\r\nEnd Property\r\n";

TEST(RecordedModule, RefusedBlockEndsTheSectionAsAWriteStraightIntoTheReportDoes)
{
    const testing::TempDir dir;
    ScannedModule source;
    source.Read(dir.Write("M.cls", kSource), ModuleKind::Cls);
    const auto section = [&](ReportSink& report, Reporter& reporter) {
        if (ListProcedures(report, "M.cls", source, reporter) == 0) {
            reporter.Message("procedures failed", "");
            return false;
        }
        return true;
    };

    RecordedModule recorded;
    recorded.result = section(recorded, recorded);
    const std::size_t blocks = 4;  // heading, two declarations, closing line
    for (std::size_t refused = 0; refused <= blocks; ++refused) {
        SCOPED_TRACE(refused);
        RefusingReport straight(refused);
        RecordingReporter straightReports;
        const bool straightResult = section(straight, straightReports);

        RefusingReport played(refused);
        RecordingReporter playedReports;
        bool playedResult = recorded.result;
        const std::size_t refusedAt = recorded.PlayBack(played, playedReports);
        if (refusedAt != RecordedModule::kAllWritten) {
            ResumedAfterRefusal resumed(played, playedReports, refusedAt);
            playedResult = section(resumed, resumed);
        }

        EXPECT_EQ(played.written, straight.written);
        EXPECT_EQ(playedReports.boxes, straightReports.boxes);
        EXPECT_EQ(playedResult, straightResult);
        EXPECT_EQ(playedResult, refused == blocks);
    }
}

}  // namespace
}  // namespace kolvane
