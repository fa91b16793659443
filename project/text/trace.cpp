#include "project/text/trace.h"

#include <string>

namespace kolvane {
namespace {

void Emit(Reporter& reporter, std::string_view indent, std::string_view text)
{
    std::string line;
    line.reserve(indent.size() + text.size() + 1);
    line.append(indent).append(text).push_back('\n');
    reporter.Trace(line);
}

}  // namespace

void Trace(Reporter& reporter, std::string_view text) { Emit(reporter, "  ", text); }

void TraceBare(Reporter& reporter, std::string_view text) { Emit(reporter, "", text); }

}  // namespace kolvane
