#pragma once

#include <string>
#include <vector>

namespace scorvane::testing {

struct ProgramResult {
    int exitCode = -1;  // -1 when the program did not end normally (a crash)
    std::string out;
    std::string err;
};

// Runs a program with its arguments (no shell), waits for it, and returns what it printed.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args);

// The command-line tool of this build, and running it.
std::string CliPath();
ProgramResult RunCli(const std::vector<std::string>& args);

}  // namespace scorvane::testing
