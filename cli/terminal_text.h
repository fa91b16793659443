// Text of the core (Shift_JIS bytes) written where a person reads it.
#pragma once

#include <cstdio>
#include <string_view>

namespace kolvane::cli {

// Writes the text to the stream in the terminal's encoding: on Linux
// converted to UTF-8; on Windows as Unicode when the stream is a console,
// otherwise as the bytes it is.
void WriteTerminalText(std::FILE* stream, std::string_view text);

}  // namespace kolvane::cli
