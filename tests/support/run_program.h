#pragma once

#include <sys/types.h>

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

// Starts a program without waiting for it, its output discarded; its process id, or -1. Every started
// program must be waited for (WaitForProgram), killed or not.
pid_t StartProgram(const std::string& program, const std::vector<std::string>& args);
// Waits for a started program to end: its exit status, -1 when it did not end normally (killed).
int WaitForProgram(pid_t pid);

// The command-line tool of this build, and running it.
std::string CliPath();
ProgramResult RunCli(const std::vector<std::string>& args);

}  // namespace scorvane::testing
