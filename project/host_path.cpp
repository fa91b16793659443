#include "project/host_path.h"

#include "project/path_text.h"

namespace kolvane {

std::string HostPath(std::string_view path)
{
    std::string host(path);
#ifndef _WIN32
    ForEachSeparator(host, [&](std::size_t position) { host[position] = '/'; });
#endif
    return host;
}

}  // namespace kolvane
