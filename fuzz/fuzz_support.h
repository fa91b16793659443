// What the fuzz targets share: a scratch folder of the process's own, raw
// file writes, a check that aborts (libFuzzer then keeps the input), and a
// core that neither prints trace lines nor shows boxes but counts the boxes.
#pragma once

#include "project/text/reporter.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kolvane::fuzz {

// Scratch folder, separator and name. The folder is made on first use and
// removed with its content when the process ends normally.
std::string ScratchPath(std::string_view name);

// Writes the bytes as they are (no text-mode translation).
void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size);

// A reporter that drops trace lines and only counts message boxes.
Reporter& SilentReporter();
// Message boxes shown since the last call of ResetBoxCount.
int BoxCount();
void ResetBoxCount();

[[noreturn]] void Fail(const char* condition, const char* file, int line);

}  // namespace kolvane::fuzz

// An invariant of the code under test: abort with the condition when it fails.
#define FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : ::kolvane::fuzz::Fail(#condition, __FILE__, __LINE__))
