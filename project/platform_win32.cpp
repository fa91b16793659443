// Win32 side of the platform seam: MessageBoxA without an owner, CharUpperBuffA
// and the lead bytes of the system's ANSI code page.
#include "project/platform.h"

#include <windows.h>

#include <string>
#include <utility>

namespace kolvane {
namespace {

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
    if (Handler()) {
        Handler()(text, caption);
        return;
    }
    const std::string textZ(text);
    const std::string captionZ(caption);
    MessageBoxA(nullptr, textZ.c_str(), captionZ.c_str(), MB_OK);
}

void UpperCaseKind(char (&kind)[3])
{
    CharUpperBuffA(kind, 3);
}

bool IsLeadByte(unsigned char byte)
{
    return IsDBCSLeadByte(byte) != FALSE;
}

unsigned AnsiCodePage()
{
    return GetACP();
}

}  // namespace kolvane
