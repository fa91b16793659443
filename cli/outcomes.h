// What kolvane-cli says of each outcome of the core, and the exit status it
// gives: one table for every run.
#pragma once

#include "analysis/run/session.h"
#include "cli/cli_reporter.h"

#include <span>
#include <string>
#include <string_view>

namespace kolvane::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailed = 1;  // an output failed, or a member could not be read
inline constexpr int kExitUsage = 2;   // also a project that cannot be read or is refused

enum class Outcome {
    ProjectNotFound,
    ProjectUnreadable,
    TableRefused,  // the text reports refused the project (the detail names the limit)
    TableEmpty,  // the text reports refused a project without modules
    TextReportFailed,  // the detail is the report's failure text
    OutputFailed,  // the output has told what failed
    MemberMissing,  // a member's file is not there (the detail names it); its rows say so
    MemberUnreadable,  // a member's file could not be read (the detail names it); its rows say so
    NamingFailed,  // a written file could not be named on standard output
    DiffKindsDiffer,  // --diff of a project file and a group or folder (or a group and a folder)
};

// Says what the outcome means, when there is anything to say, and gives
// its exit status.
int Tell(Outcome outcome, CliReporter& reporter, std::string_view detail = {});

// Says which members could not be read, each as the project file lists it
// and with that project as the subject, and gives the exit status.
int TellFailedMembers(std::span<const FailedMember> members, bool verbose);

// Names the files on standard output, one per line; false when that failed.
bool NameFiles(std::span<const std::string> files);

}  // namespace kolvane::cli
