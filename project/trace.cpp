#include "project/trace.h"

#include <cstdio>
#include <string>
#include <utility>

namespace kolvane {
namespace {

TraceSink& Sink()
{
    static TraceSink sink;
    return sink;
}

void Emit(std::string_view indent, std::string_view text)
{
    std::string line;
    line.reserve(indent.size() + text.size() + 1);
    line.append(indent).append(text).push_back('\n');
    if (Sink()) {
        Sink()(line);
    } else {
        std::fwrite(line.data(), 1, line.size(), stdout);
    }
}

}  // namespace

TraceSink SetTraceSink(TraceSink sink)
{
    return std::exchange(Sink(), std::move(sink));
}

void Trace(std::string_view text) { Emit("  ", text); }

void TraceBare(std::string_view text) { Emit("", text); }

}  // namespace kolvane
