#include <gtest/gtest.h>

#include <string_view>

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
    const size_t begin = sheet.find("<c r=\"" + address + "\"");
    if (begin == std::string::npos) {
        return {};
    }
    const size_t close = sheet.find('>', begin);
    if (close != std::string::npos && sheet[close - 1] == '/') {
        return sheet.substr(begin, close + 1 - begin);
    }
    const size_t end = sheet.find("</c>", begin);
    return end == std::string::npos ? std::string() : sheet.substr(begin, end + 4 - begin);
}

// The value of an attribute inside an element ("" when absent).
std::string attribute(const std::string& element, const std::string& name) {
    const size_t at = element.find(" " + name + "=\"");
    if (at == std::string::npos || at > element.find('>')) {
        return {};
    }
    const size_t begin = at + name.size() + 3;
    return element.substr(begin, element.find('"', begin) - begin);
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
    const std::string bold = attribute(title, "s");
    EXPECT_FALSE(bold.empty()) << title;
    EXPECT_EQ(attribute(cell(sheet, "G2"), "s"), bold);
    EXPECT_NE(attribute(cell(sheet, "A1"), "s"), bold);  // the title has a style of its own
    EXPECT_EQ(attribute(cell(sheet, "C3"), "s"), "");
    EXPECT_NE(sheet.find("<pane xSplit=\"1\" ySplit=\"2\""), std::string::npos);
    EXPECT_NE(sheet.find("state=\"frozen\""), std::string::npos);

    // Numbers as numbers, text as text: a student number with a leading zero stays text.
    EXPECT_EQ(cell(sheet, "A3"), "<c r=\"A3\"><v>1</v></c>");
    EXPECT_EQ(cell(sheet, "C3"), "<c r=\"C3\"><v>20240101</v></c>");
    // A number with decimals keeps them as its format (a style of its own).
    EXPECT_NE(cell(sheet, "E3").find("<v>6.5</v>"), std::string::npos) << cell(sheet, "E3");
    EXPECT_NE(attribute(cell(sheet, "E3"), "s"), "");
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
    // In the help, each command's usage line is indented by two spaces, its summary by six.
    const std::string help = "\n" + RunCli({"--help"}).out;
    int seen = 0;
    for (size_t at = help.find("\n  "); at != std::string::npos; at = help.find("\n  ", at + 1)) {
        const size_t begin = at + 3;
        if (help[begin] < 'a' || help[begin] > 'z') {
            continue;
        }
        const std::string name = help.substr(begin, help.find(' ', begin) - begin);
        // troff writes "-" in names as "\-".
        std::string troff;
        for (char c : name) {
            troff += c == '-' ? std::string("\\-") : std::string(1, c);
        }
        EXPECT_NE(manual.find("\n.B " + troff + "\n"), std::string::npos) << name;
        ++seen;
    }
    EXPECT_GE(seen, 18);
}

}  // namespace
}  // namespace scorvane
