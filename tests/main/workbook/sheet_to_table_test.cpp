#include "main/workbook/sheet_to_table.h"

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

TEST(SheetTable, AGridGivenUpMakesTheSameTable) {
    const std::vector<std::vector<std::string>> rows = {{"期中成绩"},
                                                        {"序号", "姓名", "", "语文"},
                                                        {"1", "张三", "", "90"},
                                                        {},
                                                        {"2", "", "x", "85.5", "备注"}};
    const SheetTable kept = SheetToGradeTable(grid(rows), 1);
    SheetGrid given = grid(rows);
    const SheetTable taken = SheetToGradeTable(std::move(given), 1);
    ASSERT_EQ(taken.table.rows(), 3);
    ASSERT_EQ(taken.table.cols(), kept.table.cols());
    for (int r = 0; r < kept.table.rows(); ++r) {
        EXPECT_EQ(row(taken.table, r), row(kept.table, r));
    }
    EXPECT_EQ(taken.table.title, kept.table.title);
    EXPECT_TRUE(taken.rowNumbers);
    EXPECT_EQ(given.sheetNames.size(), 2u);  // the names stay for the caller
}

TEST(SheetGrid, CellsAreCountedWithTheGapsOfARow) {
    SheetGrid g;
    EXPECT_TRUE(g.set(0, 999'999, "x"));
    EXPECT_FALSE(g.set(1, 0, "y"));
    EXPECT_EQ(g.cellCount(), 1'000'000);
}


// The grid keeps all texts in one buffer: a cell given again, with a shorter or a longer text, and a
// merged range emptied, leave the other cells as they were.
TEST(SheetGrid, CellsGivenAgainOrMergedLeaveTheOthersAsTheyWere) {
    SheetGrid g;
    for (const auto& [col, text] : std::vector<std::pair<int, std::string>>{
             {0, "甲乙"}, {1, "85"}, {2, "x"}, {1, "9"}, {2, "长一些的文字"}, {0, "丙"}}) {
        ASSERT_TRUE(g.set(0, col, text));
    }
    ASSERT_TRUE(g.set(1, 1, "1") && g.set(1, 2, "2") && g.set(0, 3, "晚到的行"));
    EXPECT_EQ(g.texts(g.rows[0]), (std::vector<std::string>{"丙", "9", "长一些的文字"}));
    EXPECT_EQ(g.texts(g.rows[1]), (std::vector<std::string>{"", "1", "2"}));
    EXPECT_EQ(g.cellCount(), 6);
    ASSERT_TRUE(g.clearMerged(0, 1, 1, 2));
    EXPECT_EQ(g.texts(g.rows[0]), (std::vector<std::string>{"丙", "9", ""}));
    EXPECT_EQ(g.texts(g.rows[1]), (std::vector<std::string>{"", "", ""}));
}

}  // namespace
}  // namespace scorvane
