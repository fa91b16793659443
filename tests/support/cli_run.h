// Runs a program as a Linux process through the shell, in a folder, and
// keeps its exit status and both outputs.
#pragma once

#include "tests/support/test_support.h"

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane::testing {

inline std::string ShellQuoted(std::string_view text)
{
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

struct ProgramRun {
    int status;
    std::string out;
    std::string err;
};

inline ProgramRun RunProgram(const std::string& folder, const std::string& program,
                             const std::vector<std::string>& arguments)
{
    TempDir capture;
    std::string command = "cd " + ShellQuoted(folder) + " && " + ShellQuoted(program);
    for (const std::string& argument : arguments) command += " " + ShellQuoted(argument);
    command += " >" + ShellQuoted(capture.Path("out")) + " 2>" + ShellQuoted(capture.Path("err"));
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, capture.Read("out"), capture.Read("err")};
}

// kolvane-cli, the program built with the tests.
inline ProgramRun RunCli(const std::string& folder, const std::vector<std::string>& arguments)
{
    return RunProgram(folder, KOLVANE_CLI, arguments);
}

}  // namespace kolvane::testing
