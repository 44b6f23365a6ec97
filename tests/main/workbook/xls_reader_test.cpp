#include "main/workbook/xls_reader.h"

#include <gtest/gtest.h>

#include <chrono>

#include "main/workbook/sheet_to_table.h"

namespace scorvane {
namespace {

std::string xls(const char* name) {
    return std::string(SCORVANE_SOURCE_DIR) + "/tests/main/workbook/xls/" + name;
}

TEST(XlsReader, EveryKindOfValueAsAReaderSeesIt) {
    SheetGrid g;
    ASSERT_EQ(ReadXls(xls("values.xls"), SheetChoice{"成绩", 0}, g), SheetError::None);
    EXPECT_EQ(g.sheetNames, (std::vector<std::string>{"封面", "成绩"}));
    const SheetTable s = SheetToGradeTable(g);
    const GradeTable& t = s.table;
    EXPECT_EQ(t.title, "期中成绩");
    EXPECT_TRUE(s.rowNumbers);
    using Row = std::vector<std::string>;
    auto row = [&t](int r) {
        Row out;
        for (int c = 1; c < t.cols(); ++c) {
            out.push_back(t.cell(r, c));
        }
        return out;
    };
    EXPECT_EQ(row(0), (Row{"姓名", "学号", "语文", "出生", "字段6", "字段7"}));
    EXPECT_EQ(row(1), (Row{"张三", "007", "85.5", "2024-09-01", "2024-09-01 12:00:00", "2024-09-01"}));
    EXPECT_EQ(row(2), (Row{"李四", "2024000001", "0.333333333333333", "TRUE", "#DIV/0!", "90"}));
    EXPECT_EQ(row(3), (Row{"第一行\r\n第二行", "公式文字", "08:30:00", "", "", ""}));
}

TEST(XlsReader, DateSystemOf1904AndSheetsByNumber) {
    SheetGrid g;
    ASSERT_EQ(ReadXls(xls("date1904.xls"), SheetChoice{"", 0}, g), SheetError::None);
    // A date and a formula's date result both count from 1904.
    EXPECT_EQ(g.texts(g.rows.at(0)), (std::vector<std::string>{"2024-09-01", "1", "2024-09-01"}));
    EXPECT_EQ(ReadXls(xls("values.xls"), SheetChoice{"", 2}, g), SheetError::MissingSheet);
}

TEST(XlsReader, AFirstLookReadsOnlyTheRowsAskedFor) {
    SheetGrid whole;
    ASSERT_EQ(ReadXls(xls("values.xls"), SheetChoice{"成绩", 0}, whole), SheetError::None);
    SheetGrid first;
    ASSERT_EQ(ReadXls(xls("values.xls"), SheetChoice{"成绩", 0, 2}, first), SheetError::None);
    ASSERT_EQ(first.rows.size(), 2u);
    EXPECT_EQ(first.texts(first.rows[1]), whole.texts(whole.rows.at(1)));
    EXPECT_TRUE(first.partial);
    EXPECT_FALSE(whole.partial);
}

TEST(XlsReader, HostileWorkbooksAreRefusedQuickly) {
    for (const char* name : {"encrypted.xls", "huge_dimension.xls", "truncated.xls", "README.md"}) {
        const auto start = std::chrono::steady_clock::now();
        SheetGrid g;
        EXPECT_EQ(ReadXls(xls(name), SheetChoice{}, g), SheetError::Format) << name;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500)) << name;
    }
}

}  // namespace
}  // namespace scorvane
