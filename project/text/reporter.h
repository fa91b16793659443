// The one channel by which the model and the analyses tell a front end what
// happened: message boxes (a text and a caption) and trace lines. The window
// shows the boxes, the command line prints them, tests record them.
#pragma once

#include <string_view>

namespace kolvane {

class Reporter {
public:
    virtual ~Reporter() = default;
    // A message box of the core: modal, no owner, OK only.
    virtual void Message(std::string_view text, std::string_view caption) = 0;
    // One whole trace line, its newline included.
    virtual void Trace(std::string_view line) = 0;
};

}  // namespace kolvane
