#include "main/exchange/sheet_table.h"

#include <gtest/gtest.h>

namespace scorvane {
namespace {

// A grid from rows of cells; "" is an empty cell and a row of none an empty row.
SheetGrid grid(const std::vector<std::vector<std::string>>& rows, const std::string& name = "成绩") {
    SheetGrid g;
    g.sheetNames = {"其它", name};
    g.sheet = 1;
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t c = 0; c < rows[r].size(); ++c) {
            EXPECT_TRUE(g.set(static_cast<int>(r), static_cast<int>(c), rows[r][c]));
        }
    }
    return g;
}

std::vector<std::string> row(const GradeTable& t, int r) {
    std::vector<std::string> out;
    for (int c = 0; c < t.cols(); ++c) {
        out.push_back(t.cell(r, c));
    }
    return out;
}

using Row = std::vector<std::string>;

TEST(SheetTable, TitleHeaderAndStudentRows) {
    const SheetTable s = SheetToGradeTable(grid({
        {"", "高一(1)班 期中成绩"},
        {"说明", "", "第二格"},  // the first row with two cells is the header, not this title candidate
        {},
        {"张三", "90", "85.5"},
        {"   "},                 // blanks only: an empty row
        {"李四", "", "77"},
    }));
    ASSERT_TRUE(s.message.empty());
    EXPECT_EQ(s.table.title, "高一(1)班 期中成绩");
    EXPECT_EQ(s.titleRow, 0);
    EXPECT_EQ(s.headerRow, 1);
    EXPECT_EQ(row(s.table, 0), (Row{"  ", "说明", "字段2", "第二格"}));
    EXPECT_EQ(row(s.table, 1), (Row{"1", "张三", "90", "85.5"}));
    EXPECT_EQ(row(s.table, 2), (Row{"2", "李四", "", "77"}));
    EXPECT_EQ(s.table.rows(), 3);
    EXPECT_TRUE(s.table.filePath.empty());
}

TEST(SheetTable, SheetNameIsTheTitleWithoutATitleRow) {
    EXPECT_EQ(SheetToGradeTable(grid({{"姓名", "语文"}, {"张三", "90"}}, "期末")).table.title, "期末");
}

TEST(SheetTable, HeaderRowGivenByTheUser) {
    const SheetTable s = SheetToGradeTable(grid({{"标题"}, {"a", "b"}, {"姓名", "语文"}, {"张三", "90"}}), 2);
    EXPECT_EQ(s.table.title, "标题");
    EXPECT_EQ(row(s.table, 0), (Row{"  ", "姓名", "语文"}));
    EXPECT_EQ(s.table.rows(), 2);
}

TEST(SheetTable, RowNumberColumnIsLeftOutOnlyWhenItCountsFromOne) {
    const struct {
        std::string title;
        std::vector<std::string> numbers;
        bool leftOut;
    } cases[] = {
        {"序号", {"1", "2", "3"}, true},  {"", {"1", "2", "3"}, true},   {" 序号 ", {"1", "2", "3"}, true},
        {"学号", {"1", "2", "3"}, false}, {"序号", {"1", "3", "4"}, false}, {"序号", {"2", "3", "4"}, false},
        {"", {"1", "2", ""}, false},
    };
    for (const auto& c : cases) {
        std::vector<std::vector<std::string>> rows = {{c.title, "姓名", "语文"}};
        for (size_t i = 0; i < c.numbers.size(); ++i) {
            rows.push_back({c.numbers[i], "生" + std::to_string(i), "90"});
        }
        const SheetTable s = SheetToGradeTable(grid(rows));
        EXPECT_EQ(s.rowNumbers, c.leftOut) << c.title;
        EXPECT_EQ(s.table.cols(), c.leftOut ? 3 : 4) << c.title;
        EXPECT_EQ(s.table.cell(1, c.leftOut ? 1 : 2), "生0");
    }
}

TEST(SheetTable, ColumnsStartAtTheFirstUsedOne) {
    const SheetTable s = SheetToGradeTable(grid({{"", "", "姓名", "语文"}, {"", "", "张三", "90", "", "附注"}}));
    EXPECT_EQ(row(s.table, 0), (Row{"  ", "姓名", "语文", "字段5", "字段6"}));
    EXPECT_EQ(row(s.table, 1), (Row{"1", "张三", "90", "", "附注"}));
}

TEST(SheetTable, LimitsOfATable) {
    SheetGrid rows = grid({{"姓名", "语文"}});
    for (int r = 1; r <= 32767; ++r) {
        ASSERT_TRUE(rows.set(r, 0, "x"));
    }
    EXPECT_EQ(SheetToGradeTable(rows).message, kSheetRowsMessage);
    rows.rows.pop_back();
    EXPECT_EQ(SheetToGradeTable(rows).message, "");
    EXPECT_EQ(SheetToGradeTable(rows).table.rows(), 32767);

    SheetGrid wide = grid({{"a"}});
    ASSERT_TRUE(wide.set(0, 32766, "b"));
    EXPECT_EQ(SheetToGradeTable(wide).message, kSheetFieldsMessage);
    SheetGrid fits = grid({{"a"}});
    ASSERT_TRUE(fits.set(0, 32765, "b"));
    EXPECT_EQ(SheetToGradeTable(fits).table.cols(), 32767);
}

TEST(SheetGrid, CellsAreCountedWithTheGapsOfARow) {
    SheetGrid g;
    EXPECT_TRUE(g.set(0, 999'999, "x"));
    EXPECT_FALSE(g.set(1, 0, "y"));
    EXPECT_EQ(g.cellCount(), 1'000'000);
}

}  // namespace
}  // namespace scorvane
