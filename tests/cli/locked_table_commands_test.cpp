// Every command that reads a table notes on stderr that a program has it open, and goes on.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "common/file_lock.h"
#include "main/document/data_file.h"
#include "support/run_program.h"
#include "support/sample_table.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::RunCli;
using testing::WriteBytes;

// The commands of the tool, as its help lists them.
std::set<std::string> ListedCommands() {
    std::set<std::string> commands;
    const std::string help = RunCli({"--help"}).out;
    // A command's line starts with two spaces, the name in lower case letters and hyphens, then a space.
    for (std::size_t at = help.find("\n  "); at != std::string::npos; at = help.find("\n  ", at + 1)) {
        std::size_t end = at + 3;
        while (end < help.size() && ((help[end] >= 'a' && help[end] <= 'z') || (end > at + 3 && help[end] == '-'))) {
            ++end;
        }
        if (end > at + 3 && end < help.size() && help[end] == ' ') commands.insert(help.substr(at + 3, end - at - 3));
    }
    return commands;
}

TEST(LockedTableCommands, EveryCommandThatReadsATableNotesItsHolder) {
    testing::TempDir dir;
    const std::string grade = dir.file("表格数据/一中/高一");
    const std::string classFolder = grade + "/(1)班";
    const std::string table = classFolder + "/期中.skv";
    const std::string other = classFolder + "/期末.skv";
    const GradeTable marks =
        testing::MakeTable({"姓名", "学号", "语文", "数学", "总分"},
                           {{"张三", "1", "90", "80", "170"}, {"李四", "2", "70", "85", "155"}}, "期中考试");
    ASSERT_TRUE(WriteDataFileTo(marks, table));
    ASSERT_TRUE(WriteDataFileTo(marks, other));
    WriteBytes(dir.file("值.csv"), "1\r\n2\r\n");
    // The whole grade's marks in one table, for split.
    const std::string whole = dir.file("全年级.skv");
    ASSERT_TRUE(WriteDataFileTo(testing::MakeTable({"班级", "姓名", "语文"}, {{"1", "张三", "90"}}, "期末"), whole));
    for (const std::string& held : {table, whole}) {
        WriteBytes(LockFilePath(held), "王老师,教务处-PC,4242,2024-09-02T08:05:09+08:00");
    }
    const std::string note = "注意：表格正由 王老师（教务处-PC）打开，读到的是其最后保存的内容。";
    const std::string out = dir.file("out");
    const std::string report = std::string(SCORVANE_SOURCE_DIR) + "/examples/成绩通知单.rvx";
    const std::map<std::string, std::vector<std::string>> reading = {
        {"append", {"append", table, other, "-o", out + ".skv"}},
        {"assign", {"assign", grade, "--table", "期中", "--fields", "语文", "-o", out + ".skv"}},
        {"borderline", {"borderline", grade, "--table", "期中", "--line", "一本=150", "-o", out + ".skv"}},
        {"evaluate", {"evaluate", grade, "--table", "期中", "-o", out + ".skv"}},
        {"levels", {"levels", table, "-o", out + ".skv"}},
        {"lines", {"lines", grade, "--table", "期中", "--line", "一本=150", "-o", out + ".skv"}},
        {"chart", {"chart", table, "-o", out + ".png", "--type", "bar", "--fields", "语文", "--rows", "1,2"}},
        {"check", {"check", table, "-o", out + ".skv"}},
        {"compare", {"compare", grade, "--table", "期中", "-o", out + ".skv"}},
        {"compute", {"compute", table, "-o", out + ".skv"}},
        {"copy", {"copy", table, "-o", out + ".skv"}},
        {"csv", {"csv", table, "-o", out + ".csv"}},
        {"extract", {"extract", table, "--rows", "1", "--fields", "1,2", "-o", out + ".skv"}},
        {"history", {"history", classFolder, "-o", out + ".skv"}},
        {"import-csv", {"import-csv", table, dir.file("值.csv"), "--column", "3", "-o", out + ".skv"}},
        {"info", {"info", table}},
        {"merge", {"merge", table, other, "--into", "3", "--from", "4", "-o", out + ".skv"}},
        {"print", {"print", table, "-o", out + ".pdf"}},
        {"progress", {"progress", other, table, "-o", out + ".skv"}},
        {"rank", {"rank", grade, "--table", "期中", "-o", out + ".skv"}},
        {"replace", {"replace", table, "--find", "90", "--with", "91", "-o", out + ".skv"}},
        {"report", {"report", table, report, "-o", out + ".pdf"}},
        {"sort", {"sort", table, "--by", "语文", "-o", out + ".skv"}},
        {"split", {"split", grade, whole, "--class-column", "班级", "--table", "月考"}},
        {"stats", {"stats", table, "-o", out + ".skv"}},
        {"value", {"value", table, "1", "1"}},
        {"xlsx", {"xlsx", table, "-o", out + ".xlsx"}},
        {"zscore", {"zscore", table, "-o", out + ".skv"}},
    };
    // The commands that read no table: a dBASE table, a workbook, arithmetic.
    const std::set<std::string> readingNoTable = {"dbf", "eval", "import-sheet"};
    for (const std::string& command : ListedCommands()) {
        EXPECT_TRUE(reading.count(command) || readingNoTable.count(command)) << command << " is not tried";
    }
    for (const auto& [command, args] : reading) {
        const testing::ProgramResult r = RunCli(args);
        EXPECT_EQ(r.exitCode, 0) << command << ": " << r.err;
        EXPECT_NE(r.err.find(note), std::string::npos) << command << ": " << r.err;
    }
}

}  // namespace
}  // namespace scorvane
