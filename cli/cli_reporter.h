// The one way kolvane-cli tells what happened: every message as
// "kolvane-cli: SUBJECT: TEXT" on standard error, the subject (a path as
// given) as it is, the text in the terminal's encoding; trace lines there
// too, with --verbose only.
#pragma once

#include "project/text/reporter.h"

#include <string>
#include <string_view>

namespace kolvane::cli {

class CliReporter final : public Reporter {
public:
    CliReporter(std::string_view subject, bool verbose) : subject_(subject), verbose_(verbose) {}

    // The caption is the window's; the command line shows the text alone.
    void Message(std::string_view text, std::string_view caption) override;
    void Trace(std::string_view line) override;

    // A message of the command line itself.
    void Say(std::string_view text) { Message(text, {}); }

    bool Verbose() const { return verbose_; }

private:
    std::string subject_;
    bool verbose_;
};

}  // namespace kolvane::cli
