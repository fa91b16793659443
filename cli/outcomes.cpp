#include "cli/outcomes.h"

#include "project/text/messages.h"

#include <algorithm>
#include <cstdio>

namespace kolvane::cli {
namespace {

struct OutcomeRow {
    Outcome outcome;
    std::string_view text;  // empty: the detail alone, or nothing
    std::string_view afterDetail;  // put after the detail, when there is one
    int exitStatus;
};

constexpr std::string_view kDetailSeparator = ": ";

constexpr OutcomeRow kOutcomes[] = {
    {Outcome::ProjectNotFound, message::kProjectNotFound, {}, kExitUsage},
    {Outcome::ProjectUnreadable, message::kLoadFailed, {}, kExitUsage},
    {Outcome::TableRefused, message::kLoadFailed, {}, kExitUsage},
    {Outcome::TableEmpty, message::kNoProject, {}, kExitUsage},
    {Outcome::TextReportFailed, {}, message::kErrorCaption, kExitFailed},
    {Outcome::OutputFailed, {}, {}, kExitFailed},
    {Outcome::MemberMissing, message::kMemberMissing, {}, kExitFailed},
    {Outcome::MemberUnreadable, message::kMemberUnreadable, {}, kExitFailed},
    {Outcome::NamingFailed, {}, {}, kExitFailed},
    {Outcome::DiffKindsDiffer, message::kDiffKindsDiffer, {}, kExitUsage},
};

}  // namespace

int Tell(Outcome outcome, CliReporter& reporter, std::string_view detail)
{
    for (const OutcomeRow& row : kOutcomes) {
        if (row.outcome != outcome) continue;
        std::string text(row.text);
        if (!detail.empty()) {
            if (!text.empty()) text.append(kDetailSeparator);
            text.append(detail).append(row.afterDetail);
        }
        if (!text.empty()) reporter.Say(text);
        return row.exitStatus;
    }
    return kExitFailed;
}

int TellFailedMembers(std::span<const FailedMember> members, bool verbose)
{
    int status = kExitSuccess;
    for (const FailedMember& member : members) {
        CliReporter reporter(member.project, verbose);
        status = std::max(
            status, Tell(member.status == SourceStatus::Missing ? Outcome::MemberMissing : Outcome::MemberUnreadable,
                         reporter, member.value));
    }
    return status;
}

bool NameFiles(std::span<const std::string> files)
{
    for (const std::string& file : files) {
        std::string line(file);
        line.push_back('\n');
        if (std::fwrite(line.data(), 1, line.size(), stdout) != line.size() || std::fflush(stdout) != 0) return false;
    }
    return true;
}

}  // namespace kolvane::cli
