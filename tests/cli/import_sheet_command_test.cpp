#include <gtest/gtest.h>

#include "main/document/data_file.h"
#include "common/file_io.h"
#include "support/run_program.h"
#include "support/sample_table.h"
#include "support/temp_dir.h"
#include "support/workbook_builder.h"

namespace scorvane {
namespace {

using testing::RunCli;

GradeTable readTable(const std::string& path) {
    GradeTable t;
    EXPECT_TRUE(ParseDataFile(testing::ReadBytes(path), t)) << path;
    return t;
}

TEST(CliImportSheet, AnExportedWorkbookGivesBackTheTablesValues) {
    testing::TempDir dir;
    GradeTable t = testing::MakeTable({"姓名", "学号", "语文", "总分", "备注"},
                                      {{"张三", "007", "85.5", "！公式：cell(?,3)*2", "两行[/]备注"},
                                       {"李四", "2024000001", "70", "！公式：cell(?,3)*2", ""}},
                                      "高一(1)班期中");
    t.classInfo = "高一(1)班";
    ASSERT_TRUE(WriteDataFile(t, dir.file("期中")));
    ASSERT_EQ(RunCli({"xlsx", dir.file("期中.skv"), "-o", dir.file("期中.xlsx")}).exitCode, 0);
    const auto r = RunCli({"import-sheet", dir.file("期中.xlsx"), "-o", dir.file("回来.skv")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const GradeTable back = readTable(dir.file("回来.skv"));
    EXPECT_EQ(back.title, "高一(1)班期中");
    ASSERT_EQ(back.rows(), 3);
    ASSERT_EQ(back.cols(), 6);
    const std::vector<std::string> expected = {"张三", "007", "85.5", "171", "两行\r\n备注",
                                               "李四", "2024000001", "70", "140", ""};
    std::vector<std::string> values;
    for (int r2 = 1; r2 < 3; ++r2) {
        for (int c = 1; c < 6; ++c) {
            values.push_back(back.cell(r2, c));
        }
    }
    EXPECT_EQ(values, expected);
}

TEST(CliImportSheet, SheetAndHeaderRowOptionsAndMessages) {
    testing::TempDir dir;
    testing::XlsxBook b;
    b.sheets = {{"2", testing::SheetData({"<c t=\"inlineStr\"><is><t>名为2</t></is></c><c><v>1</v></c>"})},
                {"第二张", testing::SheetData({"<c t=\"inlineStr\"><is><t>a</t></is></c><c><v>1</v></c>",
                                              "<c t=\"inlineStr\"><is><t>b</t></is></c><c><v>2</v></c>"})}};
    testing::WriteBytes(dir.file("b.xlsx"), testing::XlsxBytes(b));
    const std::string out = dir.file("o.skv");
    const struct {
        std::vector<std::string> args;
        int status;
        std::string firstTitle;  // the first field's title of the table written
        std::string err;
    } cases[] = {
        {{"--sheet", "2"}, 0, "名为2", ""},      // a name before a number
        {{"--sheet", "第二张"}, 0, "a", ""},
        {{"--sheet", "1"}, 0, "名为2", ""},
        {{"--sheet", "第二张", "--header-row", "2"}, 0, "b", ""},
        {{"--sheet", "期末"}, 1, "", "找不到工作表：期末\n"},
        {{"--sheet", "9"}, 1, "", "找不到工作表：9\n"},
        {{"--header-row", "0"}, 1, "", "字段行应为从 1 起的行号：0\n"},
    };
    for (const auto& c : cases) {
        testing::WriteBytes(out, "");
        std::vector<std::string> args = {"import-sheet", dir.file("b.xlsx"), "-o", out};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto r = RunCli(args);
        EXPECT_EQ(r.exitCode, c.status) << c.args.back();
        EXPECT_EQ(r.err, c.err) << c.args.back();
        if (c.status == 0) {
            EXPECT_EQ(readTable(out).cell(0, 1), c.firstTitle) << c.args.back();
        } else {
            EXPECT_EQ(testing::ReadBytes(out), "") << "nothing written";
        }
    }
    testing::WriteBytes(dir.file("bad.ods"), "not a workbook");
    EXPECT_EQ(RunCli({"import-sheet", dir.file("bad.ods"), "-o", out}).err, "文件格式不正确!\n");
}

}  // namespace
}  // namespace scorvane
