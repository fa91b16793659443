// Turns a path as the project names it into one the host file system opens.
#pragma once

#include <string>
#include <string_view>

namespace kolvane {

// On Windows the path as it is. Elsewhere backslashes separate folders.
std::string HostPath(std::string_view path);

}  // namespace kolvane
