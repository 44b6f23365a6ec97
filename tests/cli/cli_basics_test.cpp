#include <gtest/gtest.h>

#include "common/text_codec.h"
#include "main/document/data_file.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::GbkLines;
using testing::ReadBytes;
using testing::RunCli;
using testing::TempDir;
using testing::WriteBytes;

std::string sampleTable() {
    return GbkLines({"KVL'S Scorvane数据文件", "期中成绩", "3", "3", "王老师", "第一行[/]第二行", "###.0",
                     "  ", "姓名", "语文", "1", "张三", "85", "2", "李四", "90"});
}

TEST(CliBasics, InfoPrintsTheTableInUtf8) {
    TempDir dir;
    WriteBytes(dir.file("t.skv"), sampleTable());
    auto r = RunCli({"info", dir.file("t.skv")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "期中成绩\n3\n3\n王老师\n第一行[/]第二行\n###.0\n姓名\n语文\n");
    // The extension may be left out, or stand in another letter case.
    EXPECT_EQ(RunCli({"info", dir.file("t")}).out, r.out);
    WriteBytes(dir.file("u.SKV"), sampleTable());
    EXPECT_EQ(RunCli({"info", dir.file("u.SKV")}).out, r.out);
}

TEST(CliBasics, CopyWritesWithoutAskingAndByteForByte) {
    TempDir dir;
    WriteBytes(dir.file("t.skv"), sampleTable());
    WriteBytes(dir.file("out.skv"), "old");
    auto r = RunCli({"copy", dir.file("t.skv"), "-o", dir.file("out.skv")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadBytes(dir.file("out.skv")), sampleTable());
}

TEST(CliBasics, BadInputGetsAMessageAndStatusOne) {
    TempDir dir;
    WriteBytes(dir.file("bad.skv"), "no table here\r\n");
    auto bad = RunCli({"info", dir.file("bad.skv")});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.err, "文件格式不正确!\n");
    EXPECT_EQ(bad.out, "");

    auto missing = RunCli({"copy", dir.file("none.skv"), "-o", dir.file("x.skv")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("找不到文件"), std::string::npos);

    WriteBytes(dir.file("t.skv"), sampleTable());
    WriteBytes(dir.file("blocker"), "x");
    auto unwritable = RunCli({"copy", dir.file("t.skv"), "-o", dir.file("blocker/out.skv")});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_EQ(unwritable.err, "文件保存失败！\n");

    EXPECT_EQ(RunCli({"copy", dir.file("t.skv")}).exitCode, 1);  // no -o
    EXPECT_EQ(RunCli({"copy", dir.file("t.skv"), "--bogus"}).exitCode, 1);
    EXPECT_EQ(RunCli({"nonsense"}).exitCode, 1);
}

TEST(CliBasics, HelpDescribesEveryCommand) {
    auto r = RunCli({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("info TABLE.skv"), std::string::npos);
    EXPECT_NE(r.out.find("copy TABLE.skv -o OUT.skv"), std::string::npos);
}

// Only the commands that draw need the GUI libraries: the tool starts without them, so that every other
// command starts quickly and stays small, and hands the drawing commands to the drawing program.
TEST(CliBasics, OnlyTheDrawingProgramLoadsTheGuiLibraries) {
    const auto tool = testing::RunProgram("/usr/bin/ldd", {testing::CliPath()});
    ASSERT_EQ(tool.exitCode, 0) << tool.err;
    EXPECT_EQ(tool.out.find("libQt6"), std::string::npos) << tool.out;
    const std::string cli = testing::CliPath();
    const auto drawing = testing::RunProgram("/usr/bin/ldd", {cli.substr(0, cli.rfind('/')) + "/scorvane-cli-draw"});
    EXPECT_NE(drawing.out.find("libQt6Gui"), std::string::npos) << drawing.out;
}

}  // namespace
}  // namespace scorvane
