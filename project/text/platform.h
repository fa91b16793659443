// The two things the model and the analyses need from the platform:
// upper-casing a module kind, and telling whether a byte begins a
// double-byte character (the base of a path's file title). The Win32 side
// uses USER32 and the ANSI code page; the portable side assumes Shift_JIS.
#pragma once

namespace kolvane {

// Upper-cases the three bytes of a module kind in place.
void UpperCaseKind(char (&kind)[3]);

// True when the byte is the first byte of a double-byte character.
bool IsLeadByte(unsigned char byte);

// The system's ANSI code page (932, Shift_JIS, off Windows).
unsigned AnsiCodePage();

}  // namespace kolvane

#include <string>
#include <string_view>

namespace kolvane {

// A folder given relative to the current directory ("" or "sub\", ending in
// a separator unless empty), made absolute and ending in a separator: the
// full path name on Windows, the current directory before it elsewhere.
std::string AbsoluteFolder(std::string_view folder);

// Makes the folder, with its missing parents, named as the file layer names
// files (in the ANSI code page on Windows). True when it is a folder then.
bool MakeFolder(std::string_view folder);

}  // namespace kolvane
