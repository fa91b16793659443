// Turns a path as the project names it into one the host file system opens.
#pragma once

#include <string>
#include <string_view>

namespace kolvane {

// On Windows the path as it is. Elsewhere backslashes separate folders, and
// a path that does not exist as written is looked up folder by folder the
// way Windows would find it: ignoring ASCII case, and taking a name in
// Shift_JIS (failing that, Windows-1252) bytes for its UTF-8 spelling on disk.
std::string HostPath(std::string_view path);

}  // namespace kolvane
