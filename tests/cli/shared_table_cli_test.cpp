// The command-line tool beside a table that a program has open: a note on stderr, and on it goes.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>

#include "common/file_lock.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::GbkLines;
using testing::ReadBytes;
using testing::RunCli;
using testing::WriteBytes;

std::string thisHost() {
    char name[256] = {};
    ::gethostname(name, sizeof name - 1);
    return name;
}

TEST(CliSharedTables, ATableOpenElsewhereIsReadWithANoteAndMinusOStillWrites) {
    testing::TempDir dir;
    const std::string table = dir.file("期中.skv");
    const std::string bytes =
        GbkLines({"KVL'S Scorvane数据文件", "期中成绩", "2", "2", "", "", "", "  ", "语文", "1", "85"});
    WriteBytes(table, bytes);
    const std::string lock = LockFilePath(table);
    const std::string note = "注意：表格正由 王老师（教务处-PC）打开，读到的是其最后保存的内容。\n";

    // Another computer's lock.
    WriteBytes(lock, "王老师,教务处-PC,4242,2024-09-02T08:05:09+08:00");
    const auto read = RunCli({"info", table});
    EXPECT_EQ(read.exitCode, 0);
    EXPECT_EQ(read.out, "期中成绩\n2\n2\n\n\n\n语文\n");
    EXPECT_EQ(read.err, note);
    // The other table of an import is a table read, too.
    WriteBytes(dir.file("乙.skv"), bytes);
    const auto append = RunCli({"append", dir.file("乙.skv"), table, "-o", dir.file("合并.skv")});
    EXPECT_EQ(append.exitCode, 0);
    EXPECT_EQ(append.err, note);
    // -o writes as it always has, also over the open table; the lock stays the other's.
    const auto copy = RunCli({"copy", dir.file("合并.skv"), "-o", table});
    EXPECT_EQ(copy.exitCode, 0);
    EXPECT_EQ(ReadBytes(table), ReadBytes(dir.file("合并.skv")));
    EXPECT_EQ(ReadBytes(lock), "王老师,教务处-PC,4242,2024-09-02T08:05:09+08:00");

    // A lock of this computer: noted while its program runs (a program named scorvane), not once it has
    // ended, and not when its process is no program of ours (this test).
    const std::string program = dir.file("scorvane");
    std::filesystem::copy_file("/bin/sleep", program);
    const pid_t running = testing::StartProgram(program, {"60"});
    ASSERT_GT(running, 0);
    const std::string ours = "王老师," + thisHost() + ",";
    WriteBytes(lock, ours + std::to_string(running) + ",2024-09-02T08:05:09+08:00");
    EXPECT_EQ(RunCli({"info", table}).err,
              "注意：表格正由 王老师（" + thisHost() + "）打开，读到的是其最后保存的内容。\n");
    ::kill(running, SIGTERM);
    testing::WaitForProgram(running);
    EXPECT_EQ(RunCli({"info", table}).err, "");
    WriteBytes(lock, ours + std::to_string(::getpid()) + ",2024-09-02T08:05:09+08:00");
    EXPECT_EQ(RunCli({"info", table}).err, "");
}

}  // namespace
}  // namespace scorvane
