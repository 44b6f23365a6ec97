#include <gtest/gtest.h>

#include <regex>

#include "common/file_io.h"
#include "main/document/data_file.h"
#include "support/run_program.h"
#include "support/sample_table.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::MakeTable;
using testing::RunCli;
using testing::RunProgram;
using testing::TempDir;

// A part of the workbook, unzipped.
std::string part(const std::string& workbook, const std::string& name) {
    auto r = RunProgram("/usr/bin/unzip", {"-p", workbook, name});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return r.out;
}

// The <c> element of a sheet cell ("E3"), or "" when the sheet has none.
std::string cell(const std::string& sheet, const std::string& address) {
    std::smatch m;
    const std::regex element("<c r=\"" + address + "\"[^>]*?(/>|>.*?</c>)");
    return std::regex_search(sheet, m, element) ? m.str(0) : std::string();
}

struct CliXlsx : ::testing::Test {
    TempDir dir;
    void SetUp() override {
        GradeTable t = MakeTable({"姓名", "学号", "语文", "数学", "总分", "备注"},
                                 {{"张三", "20240101", "80", "6.5", "！公式：cell(?,3)+cell(?,4)", "<&>"},
                                  {"李四", "007", "", "90", "！公式：cell(?,3)+cell(?,4)", ""},
                                  {"王五", "20240103", "缺考", "-5", "！公式：cell(?,3)+cell(?,4)", ""},
                                  {"赵六", "20240104", "70", "-5", "！公式：2*cell(?,4)+1", ""}},
                                 "高一(1)班期中考试");
        t.teacher = "李明华";
        t.classInfo = "高一(1)班，学生4人";
        ASSERT_TRUE(WriteDataFile(t, dir.file("期中")));
    }
};

TEST_F(CliXlsx, WritesValuesNumbersAndFormulasWithTheirValues) {
    const std::string out = dir.file("期中.xlsx");
    auto r = RunCli({"xlsx", dir.file("期中.skv"), "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string sheet = part(out, "xl/worksheets/sheet1.xml");

    // The title above the table; the field titles bold (a style of their own), and both frozen with
    // the row numbers' column.
    EXPECT_NE(cell(sheet, "A1").find("高一(1)班期中考试"), std::string::npos) << cell(sheet, "A1");
    const std::string title = cell(sheet, "B2");
    EXPECT_NE(title.find("<t>姓名</t>"), std::string::npos) << title;
    std::smatch style;
    ASSERT_TRUE(std::regex_search(title, style, std::regex(" s=\"(\\d+)\"")));
    EXPECT_NE(cell(sheet, "G2").find(" s=\"" + style.str(1) + "\""), std::string::npos);
    EXPECT_EQ(cell(sheet, "C3").find(" s=\""), std::string::npos);
    EXPECT_NE(sheet.find("<pane xSplit=\"1\" ySplit=\"2\""), std::string::npos);
    EXPECT_NE(sheet.find("state=\"frozen\""), std::string::npos);

    // Numbers as numbers, text as text: a student number with a leading zero stays text.
    EXPECT_EQ(cell(sheet, "A3"), "<c r=\"A3\"><v>1</v></c>");
    EXPECT_EQ(cell(sheet, "C3"), "<c r=\"C3\"><v>20240101</v></c>");
    EXPECT_EQ(cell(sheet, "E3"), "<c r=\"E3\"><v>6.5</v></c>");
    EXPECT_NE(cell(sheet, "C4").find("<t>007</t>"), std::string::npos) << cell(sheet, "C4");
    EXPECT_NE(cell(sheet, "B3").find("<t>张三</t>"), std::string::npos);
    EXPECT_NE(cell(sheet, "G3").find("<t>&lt;&amp;&gt;</t>"), std::string::npos) << cell(sheet, "G3");
    EXPECT_EQ(cell(sheet, "D4"), "");  // an empty cell is not written

    // Formulas with their values cached, so viewers that do not recalculate show them.
    EXPECT_EQ(cell(sheet, "F3"), "<c r=\"F3\"><f>ROUND(D3+E3,2)</f><v>86.5</v></c>");
    EXPECT_EQ(cell(sheet, "F4"), "<c r=\"F4\"><f>ROUND(D4+E4,2)</f><v>90</v></c>");
    // One that fails in the table is what the table shows; one whose references splice a negative
    // number into it is its value.
    EXPECT_NE(cell(sheet, "F5").find("<t>公式错误</t>"), std::string::npos) << cell(sheet, "F5");
    EXPECT_EQ(cell(sheet, "F6"), "<c r=\"F6\"><v>-12</v></c>");

    const std::string core = part(out, "docProps/core.xml");
    EXPECT_NE(core.find("<dc:title>高一(1)班期中考试</dc:title>"), std::string::npos) << core;
    EXPECT_NE(core.find("<dc:creator>李明华</dc:creator>"), std::string::npos);
    EXPECT_NE(part(out, "xl/workbook.xml").find("<sheet name=\"高一(1)班期中考试\""), std::string::npos);
}

TEST_F(CliXlsx, AFailedWriteSaysSoAndLeavesNoTemporaryFile) {
    // A folder in the way of the target: the finished workbook cannot take its name.
    ASSERT_TRUE(MakeDirectories(dir.file("in-the-way.xlsx/x")));
    auto r = RunCli({"xlsx", dir.file("期中"), "-o", dir.file("in-the-way.xlsx")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "文件保存失败！\n");
    EXPECT_TRUE(DirectoryExists(dir.file("in-the-way.xlsx/x")));
    EXPECT_EQ(FilesWithExtension(dir.path(), ".tmp").size(), 0u);

    r = RunCli({"xlsx", dir.file("没有.skv"), "-o", dir.file("x.xlsx")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "找不到文件：" + dir.file("没有.skv") + "\n");
    EXPECT_FALSE(FileExists(dir.file("x.xlsx")));
}

// The manual page describes every command the tool has.
TEST(CliManual, DescribesEveryCommand) {
    const std::string manual = testing::ReadBytes(SCORVANE_SOURCE_DIR "/packaging/scorvane-cli.1");
    ASSERT_FALSE(manual.empty());
    auto help = RunCli({"--help"});
    std::regex command("\n  ([a-z-]+) ");
    int seen = 0;
    for (std::sregex_iterator it(help.out.begin(), help.out.end(), command), end; it != end; ++it) {
        const std::string name = (*it)[1];
        EXPECT_NE(manual.find("\n.B " + name + "\n"), std::string::npos) << name;
        ++seen;
    }
    EXPECT_GE(seen, 19);
}

}  // namespace
}  // namespace scorvane
