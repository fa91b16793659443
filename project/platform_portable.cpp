// Portable side of the platform seam: Shift_JIS lead bytes, ASCII upper case,
// and no message box unless a front end installs one.
#include "project/platform.h"

#include <utility>

namespace kolvane {
namespace {

constexpr unsigned kShiftJisCodePage = 932;

MessageHandler& Handler()
{
    static MessageHandler handler;
    return handler;
}

}  // namespace

MessageHandler SetMessageHandler(MessageHandler handler)
{
    return std::exchange(Handler(), std::move(handler));
}

void ShowMessage(std::string_view text, std::string_view caption)
{
    if (Handler()) Handler()(text, caption);
}

void UpperCaseKind(char (&kind)[3])
{
    for (char& c : kind) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
}

bool IsLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

unsigned AnsiCodePage()
{
    return kShiftJisCodePage;
}

}  // namespace kolvane
