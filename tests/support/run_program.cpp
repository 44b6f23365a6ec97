#include "support/run_program.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/temp_dir.h"

extern char** environ;

namespace scorvane::testing {

namespace {

// Starts the program with its input from /dev/null and its output into the two files; -1 when it
// cannot be started.
pid_t spawn(const std::string& program, const std::vector<std::string>& args, const char* outPath,
            const char* errPath) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    const bool started = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    return started ? pid : -1;
}

}  // namespace

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args) {
    TempDir dir;
    std::string outPath = dir.file("out");
    std::string errPath = dir.file("err");
    ProgramResult result;
    const pid_t pid = spawn(program, args, outPath.c_str(), errPath.c_str());
    if (pid > 0) {
        result.exitCode = WaitForProgram(pid);
    }
    result.out = ReadBytes(outPath);
    result.err = ReadBytes(errPath);
    return result;
}

pid_t StartProgram(const std::string& program, const std::vector<std::string>& args) {
    return spawn(program, args, "/dev/null", "/dev/null");
}

int WaitForProgram(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string CliPath() {
    return std::string(SCORVANE_BIN_DIR) + "/scorvane-cli";
}

ProgramResult RunCli(const std::vector<std::string>& args) {
    return RunProgram(CliPath(), args);
}

}  // namespace scorvane::testing
