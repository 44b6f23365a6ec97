#include "main/workbook/sheet_append.h"

#include <gtest/gtest.h>

#include "main/exchange/table_import.h"
#include "support/sample_table.h"
#include "support/scripted_prompter.h"

namespace scorvane {
namespace {

using testing::MakeTable;
using testing::ScriptedPrompter;
using Strings = std::vector<std::string>;

TEST(SheetAppend, ColumnsGoToTheFieldsOfTheSameTitle) {
    const GradeTable table = MakeTable({"姓名", "学号", "语文", "数学", "序号"}, {});
    const GradeTable sheet = MakeTable({" 数学\xE3\x80\x80", "姓名", "备注", "序号", "语文", "姓名"}, {});
    const SheetColumnMatch match = MatchSheetColumns(table, sheet);
    EXPECT_EQ(match.target, (std::vector<int>{0, 4, 1, 0, 0, 3, 0}));
    EXPECT_EQ(match.matched, 3);
    EXPECT_EQ(match.lines,
              (Strings{"数学 → 数学", "姓名 → 姓名", "备注：表格中没有此字段，不导入",
                       "序号：表格中没有此字段，不导入", "语文 → 语文", "姓名：与前面的列同名，不导入",
                       "学号：电子表格中没有此字段，留空", "序号：电子表格中没有此字段，留空"}));
}

TEST(SheetAppend, StudentsFollowTheLastRowThatHoldsAnythingAndNothingElseChanges) {
    const GradeTable sheet = MakeTable({"语文", "姓名", "备注"}, {{"90", "丙", "转入"}, {"80", "丁", ""}});
    struct Case {
        const char* what;
        Strings lastRow;
        Strings names, marks, numbers;
    };
    const Case cases[] = {
        {"a student last",
         {"乙", "2", "70"},
         {"甲", "乙", "丙", "丁"},
         {"60", "70", "90", "80"},
         {"1", "2", "", ""}},
        {"an empty row last", {"", " ", ""}, {"甲", "丙", "丁"}, {"60", "90", "80"}, {"1", " ", ""}},
        {"a number alone last",
         {"", "2", ""},
         {"甲", "", "丙", "丁"},
         {"60", "", "90", "80"},
         {"1", "2", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Document d;
        d.table = MakeTable({"姓名", "学号", "语文"}, {{"甲", "1", "60"}, c.lastRow});
        const GradeTable before = d.table;
        ScriptedPrompter p;
        ASSERT_TRUE(AppendSheetTable(d, sheet, p));
        EXPECT_TRUE(p.calls().empty());
        EXPECT_EQ(testing::Column(d.table, 1), c.names);
        EXPECT_EQ(testing::Column(d.table, 3), c.marks);
        EXPECT_EQ(testing::Column(d.table, 2), c.numbers);
        EXPECT_EQ(d.table.cell(d.table.rows() - 1, 0), std::to_string(d.table.rows() - 1));
        EXPECT_TRUE(d.modified());
        ASSERT_TRUE(d.undo());
        EXPECT_EQ(d.table.cellTexts(), before.cellTexts());
    }
}

TEST(SheetAppend, NoCommonFieldOrTooManyRowsChangesNothing) {
    struct Case {
        const char* what;
        GradeTable table;
        GradeTable sheet;
        std::string message;
    };
    GradeTable big = MakeTable({"姓名"}, {});
    big.setRows(GradeTable::kMaxCount - 1);
    big.setCell(GradeTable::kMaxCount - 2, 1, "末");
    const GradeTable two = MakeTable({"姓名"}, {{"甲"}, {"乙"}});
    const GradeTable one = MakeTable({"姓名"}, {{"甲"}});
    const Case cases[] = {
        {"no common field", MakeTable({"姓名"}, {{"甲"}}), MakeTable({"名字"}, {{"乙"}}),
         std::string(kNoCommonFieldMessage)},
        {"one row too many", big, two, std::string(kImportTooLargeMessage)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Document d;
        d.table = c.table;
        ScriptedPrompter p;
        EXPECT_FALSE(AppendSheetTable(d, c.sheet, p));
        EXPECT_EQ(p.messages(), Strings{c.message});
        EXPECT_EQ(d.table.rows(), c.table.rows());
        EXPECT_FALSE(d.modified());
        EXPECT_FALSE(d.undoAvailable());
    }
    // The largest table is reached exactly.
    Document d;
    d.table = big;
    ScriptedPrompter p;
    EXPECT_TRUE(AppendSheetTable(d, one, p));
    EXPECT_EQ(d.table.rows(), GradeTable::kMaxCount);
}

TEST(SheetAppend, ATitledSheetWithoutStudentsLeavesTheTableAsItWas) {
    Document d;
    d.table = MakeTable({"姓名", "语文"}, {{"甲", "60"}, {"", ""}});
    const GradeTable before = d.table;
    ScriptedPrompter p;
    EXPECT_TRUE(AppendSheetTable(d, MakeTable({"语文", "姓名"}, {}), p));
    EXPECT_TRUE(p.calls().empty());
    EXPECT_EQ(d.table.cellTexts(), before.cellTexts());
    EXPECT_FALSE(d.modified());
}

TEST(SheetAppend, OneStudentFillsTheFirstEmptyRowAndTheTableKeepsItsRows) {
    Document d;
    d.table = MakeTable({"姓名", "语文"}, {{"甲", "60"}, {"", ""}, {"", ""}, {"", ""}});
    ScriptedPrompter p;
    ASSERT_TRUE(AppendSheetTable(d, MakeTable({"姓名"}, {{"乙"}}), p));
    EXPECT_EQ(d.table.rows(), 5);
    EXPECT_EQ(testing::Column(d.table, 1), (Strings{"甲", "乙", "", ""}));
    EXPECT_TRUE(d.modified());
}

TEST(SheetAppend, NewStudentsGetTheColumnFormulasOfTheTable) {
    const std::string sum = "！公式：cell(?,2)+cell(?,3)";
    const std::string average = "！公式：(cell(?,2)+cell(?,3))/2";
    Document d;
    d.table = MakeTable({"姓名", "语文", "数学", "总分", "平均"}, {{"甲", "60", "70", sum, average}});
    // The sheet brings a 平均 of its own for 丙 only; it has no 总分.
    const GradeTable sheet =
        MakeTable({"姓名", "语文", "数学", "平均"}, {{"乙", "80", "90", ""}, {"丙", "1", "2", "9"}});
    const SheetColumnMatch match = MatchSheetColumns(d.table, sheet);
    EXPECT_EQ(match.lines.back(), "总分：电子表格中没有此字段，沿用该列的公式");
    ScriptedPrompter p;
    ASSERT_TRUE(AppendSheetTable(d, sheet, p));
    EXPECT_EQ(testing::Column(d.table, 4), (Strings{sum, sum, sum}));
    EXPECT_EQ(testing::Column(d.table, 5), (Strings{average, average, "9"}));
    ASSERT_TRUE(d.undo());
    EXPECT_EQ(d.table.rows(), 2);
}

}  // namespace
}  // namespace scorvane
