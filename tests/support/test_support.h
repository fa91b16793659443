// Fixtures shared by the tests: a temporary folder with files made from
// inline bytes, and recorders for message boxes and trace lines.
#pragma once

#include "project/platform.h"
#include "project/trace.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kolvane::testing {

// The folder separator of the platform's own paths.
#ifdef _WIN32
inline constexpr char kSep = '\\';
#else
inline constexpr char kSep = '/';
#endif

// Reads or writes a whole file as raw bytes; the name is passed to the C
// runtime as it is (Shift_JIS names work on Windows through the ANSI API).
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, std::string_view bytes);
bool PathExists(const std::string& path);
void MakeFolder(const std::string& path);

// A fresh folder under the system's temporary folder, removed with its
// content when the test ends.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Root() const { return root_; }
    // Root, separator and name ("a/b" parts are joined with kSep).
    std::string Path(std::string_view name) const;
    std::string Write(std::string_view name, std::string_view bytes) const;
    std::string Read(std::string_view name) const { return ReadBytes(Path(name)); }
    std::string Folder(std::string_view name) const;

private:
    std::filesystem::path native_;
    std::string root_;
};

// Records every message box of the core while it lives.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    std::vector<std::pair<std::string, std::string>> boxes;  // text, caption

private:
    MessageHandler previous_;
};

// Records every trace line while it lives.
class TraceRecorder {
public:
    TraceRecorder();
    ~TraceRecorder();
    std::string lines;

private:
    TraceSink previous_;
};

}  // namespace kolvane::testing
