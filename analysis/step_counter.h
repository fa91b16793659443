// The step and comment counter: reads one source file line by line and adds
// its steps (counted lines of code) and comment lines to the two counters of
// the file's kind.
#pragma once

#include <cstdint>
#include <string_view>

namespace kolvane {

// Steps and comment lines per kind of module, one physical line each.
struct KindCounts {
    std::int32_t frmSteps;
    std::int32_t frmComments;
    std::int32_t basSteps;
    std::int32_t basComments;
    std::int32_t clsSteps;
    std::int32_t clsComments;
};

// Each counter adds to its own two fields only and never clears the record.
// 1: the file was read to its end and closed. 0: it could not be opened,
// read or closed (what was added before a failed read or close stays; the
// caller discards it). -1: the path does not exist.
//
// Form and class files are counted only after their header, the first line
// holding "Attribute VB_Exposed"; a standard module takes one off its steps
// at the end, whatever it held.
int CountFrmLines(std::string_view path, KindCounts& counts);
int CountBasLines(std::string_view path, KindCounts& counts);
int CountClsLines(std::string_view path, KindCounts& counts);

}  // namespace kolvane
