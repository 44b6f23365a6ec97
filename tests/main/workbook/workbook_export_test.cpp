#include "main/workbook/workbook_export.h"

#include <gtest/gtest.h>

#include "common/utf8.h"
#include "main/workbook/workbook_export_cell.h"
#include "support/run_program.h"
#include "support/sample_table.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::MakeTable;

// A part of a workbook, unzipped.
std::string Part(const std::string& workbook, const std::string& name) {
    auto r = testing::RunProgram("/usr/bin/unzip", {"-p", workbook, name});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return r.out;
}

TEST(WorkbookExport, EveryTitleGivesAValidSheetNameOfAtMost31Characters) {
    const std::string longTitle = "高一(1)班2024学年第一学期期中考试成绩统计表（全年级汇总）";  // 32
    struct Case {
        std::string title, sheet;
    };
    const std::vector<Case> cases = {
        {longTitle, std::string(Utf8Left(longTitle, 31))},
        {std::string(31, 'a'), std::string(31, 'a')},
        {std::string(32, 'a'), std::string(31, 'a')},
        {"a[b]c:d*e?f/g\\h", "a_b_c_d_e_f_g_h"},
        {"'期中'", "期中"},
        {"''", "成绩表"},
        {"", "成绩表"},
        {std::string(30, 'a') + "'x", std::string(30, 'a')},  // an apostrophe that ends up at the end
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WorkbookSheetName(c.title), c.sheet) << c.title;
    }
    // The workbook takes the name.
    testing::TempDir dir;
    const GradeTable t = MakeTable({"姓名"}, {{"甲"}}, longTitle);
    ASSERT_TRUE(ExportWorkbook(t, dir.file("t.xlsx")));
    EXPECT_NE(Part(dir.file("t.xlsx"), "xl/workbook.xml").find("<sheet name=\"" + cases[0].sheet + "\""),
              std::string::npos);
}

TEST(WorkbookExport, AFormulaWorthBetweenMinusOneAndZeroIsAFormulaCellWithItsNumber) {
    testing::TempDir dir;
    const GradeTable t = MakeTable({"语文", "差"}, {{"0.5", "！公式：cell(?,1)-1"}});
    const SheetCell cell = SheetCellOf(t, 1, 2);
    EXPECT_EQ(cell.kind, SheetCell::Kind::Formula);
    EXPECT_EQ(cell.number, -0.5);
    ASSERT_TRUE(ExportWorkbook(t, dir.file("t.xlsx")));
    EXPECT_NE(Part(dir.file("t.xlsx"), "xl/worksheets/sheet1.xml")
                  .find("<c r=\"C3\"><f>ROUND(B3-1,2)</f><v>-0.5</v></c>"),
              std::string::npos);
}

TEST(WorkbookExport, NumbersKeepTheirDecimalsAndRatesAreFractionsInAPercentFormat) {
    struct Case {
        std::string text;
        SheetCell::Kind kind;
        double number;
        std::string format;
    };
    const std::vector<Case> cases = {
        {"97.00", SheetCell::Kind::Number, 97, "0.00"},
        {"85", SheetCell::Kind::Number, 85, ""},
        {"-2.5", SheetCell::Kind::Number, -2.5, "0.0"},
        {"63.16%", SheetCell::Kind::Number, 0.6316, "0.00%"},
        {"100%", SheetCell::Kind::Number, 1, "0%"},
        {"007", SheetCell::Kind::Text, 0, ""},
        {"%", SheetCell::Kind::Text, 0, ""},
        {"优%", SheetCell::Kind::Text, 0, ""},
        {"5%%", SheetCell::Kind::Text, 0, ""},
    };
    for (const Case& c : cases) {
        const SheetCell cell = SheetCellOf(MakeTable({"x"}, {{c.text}}), 1, 1);
        EXPECT_EQ(cell.kind, c.kind) << c.text;
        EXPECT_DOUBLE_EQ(cell.number, c.number) << c.text;
        EXPECT_EQ(cell.numberFormat, c.format) << c.text;
    }
    // The row-number column is titled in the workbook; the formats reach it.
    const GradeTable t = MakeTable({"平均分", "及格率"}, {{"97.00", "63.16%"}});
    EXPECT_EQ(SheetCellOf(t, 0, 0).text, "序号");
    testing::TempDir dir;
    ASSERT_TRUE(ExportWorkbook(t, dir.file("t.xlsx")));
    const std::string styles = Part(dir.file("t.xlsx"), "xl/styles.xml");
    EXPECT_NE(styles.find("formatCode=\"0.00%\""), std::string::npos);
    EXPECT_NE(styles.find("formatCode=\"0.00\""), std::string::npos);
    // The rate is a number of its own style (the library writes 16 significant digits).
    const std::string sheet = Part(dir.file("t.xlsx"), "xl/worksheets/sheet1.xml");
    const size_t rate = sheet.find("<c r=\"C3\" s=\"");
    ASSERT_NE(rate, std::string::npos);
    const size_t value = sheet.find("<v>", rate) + 3;
    EXPECT_NEAR(std::stod(sheet.substr(value, sheet.find("</v>", value) - value)), 0.6316, 1e-12);
}

// The cells are worked out ahead of the writer in batches of rows: every row keeps its own cells in
// order, across the batches' edges and in a last, partial batch.
TEST(WorkbookExport, EveryRowOfALongTableKeepsItsOwnCellsInOrder) {
    testing::TempDir dir;
    GradeTable t = MakeTable({"语文", "倍"}, {});
    const int students = 700;
    t.resize(students + 1, t.cols());
    for (int r = 1; r <= students; ++r) {
        t.setCell(r, 1, std::to_string(r));
        t.setCell(r, 2, "！公式：cell(?,1)*2");
    }
    t.renumber();
    ASSERT_TRUE(ExportWorkbook(t, dir.file("t.xlsx")));
    const std::string sheet = Part(dir.file("t.xlsx"), "xl/worksheets/sheet1.xml");
    size_t at = 0;
    for (int r = 1; r <= students; ++r) {
        const std::string row = std::to_string(r + 2);
        const std::string cells = "<c r=\"B" + row + "\"><v>" + std::to_string(r) + "</v></c><c r=\"C" + row +
                                  "\"><f>ROUND(B" + row + "*2,2)</f><v>" + std::to_string(2 * r) + "</v></c>";
        at = sheet.find(cells, at);
        ASSERT_NE(at, std::string::npos) << "student " << r;
    }
}

// The rows are deflated while they are written and stored between the sheet's own text deflated apart:
// the part reads back whole, checksum and all, across the pieces the rows are deflated in, with a cell
// holding the very tags between which the rows go.
TEST(WorkbookExport, ALongSheetDeflatedWhileWrittenReadsBackWhole) {
    testing::TempDir dir;
    GradeTable t = MakeTable({"评语"}, {});
    const int students = 3000;  // about 1.8 MB of rows: several pieces, over a megabyte deflated
    t.resize(students + 1, t.cols());
    unsigned seed = 7;
    std::vector<std::string> texts;
    for (int r = 1; r <= students; ++r) {
        std::string text(600, ' ');
        for (char& c : text) {
            seed = seed * 1103515245 + 12345;
            c = static_cast<char>('a' + (seed >> 16) % 26);
        }
        texts.push_back(r == 1 ? "<sheetData></sheetData>" : text);
        t.setCell(r, 1, texts.back());
    }
    t.renumber();
    ASSERT_TRUE(ExportWorkbook(t, dir.file("t.xlsx")));
    const std::string sheet = Part(dir.file("t.xlsx"), "xl/worksheets/sheet1.xml");
    EXPECT_EQ(sheet.rfind("<?xml", 0), 0U);
    EXPECT_TRUE(sheet.ends_with("</worksheet>"));
    EXPECT_NE(sheet.find("<t>&lt;sheetData&gt;&lt;/sheetData&gt;</t>"), std::string::npos);
    size_t at = 0;
    for (int r = 2; r <= students; ++r) {
        at = sheet.find("<c r=\"B" + std::to_string(r + 2) + "\" t=\"inlineStr\"><is><t>" + texts[r - 1], at);
        ASSERT_NE(at, std::string::npos) << "student " << r;
    }
}

}  // namespace
}  // namespace scorvane
