#include "project/text/report_sink.h"

#include "project/text/strings.h"

#include <cstdarg>
#include <string>

namespace kolvane {

int ReportSink::Print(const char* format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    const std::string text = FormatTextV(format, arguments);
    va_end(arguments);
    return WriteBlock(text) == 1 ? static_cast<int>(text.size()) : -1;
}

}  // namespace kolvane
