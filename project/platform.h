// The three things the model and the analyses need from the platform:
// showing a message box, upper-casing a module kind, and telling whether a
// byte begins a double-byte character (the base of a path's file title).
// The Win32 side uses USER32 and the ANSI code page; the portable side
// assumes Shift_JIS.
#pragma once

#include <functional>
#include <string_view>

namespace kolvane {

// A message box of the core: modal, no owner, OK only. Front ends install a
// handler that shows, prints or records it.
using MessageHandler = std::function<void(std::string_view text, std::string_view caption)>;

// Installs a handler and returns the previous one. An empty handler restores
// the platform default (a real box on Windows, nothing elsewhere).
MessageHandler SetMessageHandler(MessageHandler handler);
void ShowMessage(std::string_view text, std::string_view caption);

// Upper-cases the three bytes of a module kind in place.
void UpperCaseKind(char (&kind)[3]);

// True when the byte is the first byte of a double-byte character.
bool IsLeadByte(unsigned char byte);

// The system's ANSI code page (932, Shift_JIS, off Windows).
unsigned AnsiCodePage();

}  // namespace kolvane
