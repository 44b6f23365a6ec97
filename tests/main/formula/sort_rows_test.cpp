#include "main/formula/sort_rows.h"

#include <gtest/gtest.h>

#include "main/formula/formula_cell.h"
#include "support/sample_table.h"
#include "support/scripted_prompter.h"

namespace scorvane {
namespace {

using testing::ScriptedPrompter;

// Fields 姓名 成绩 名次; the marks cover every kind of key. Column 0 holds "x" until a sort renumbers it.
class SortRowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int r = 1; r < doc.table.rows(); ++r) {
            doc.table.setCell(r, 0, "x");
        }
    }
    using Names = testing::Strings;
    Names column(int c) const { return testing::Column(doc.table, c); }
    Document doc = testing::SampleDocument({"姓名", "成绩", "名次"}, {{"张三", "85", "旧"},
                                                                      {"李四", "92", "旧"},
                                                                      {"王五", "85", "旧"},
                                                                      {"赵六", "", "旧"},
                                                                      {"钱七", "缺考", "旧"},
                                                                      {"孙八", " 100 ", "旧"},
                                                                      {"周九", "-3", "旧"},
                                                                      {"吴十", ".5", "旧"}});
};

TEST_F(SortRowsTest, DescendingWithRanksNumbersFirstBlanksLast) {
    ASSERT_TRUE(SortRows(doc, 2, true, 3));
    EXPECT_EQ(column(1), (Names{"孙八", "李四", "张三", "王五", "吴十", "周九", "钱七", "赵六"}));
    EXPECT_EQ(column(3), (Names{"1", "2", "3", "4", "5", "6", "7", "8"}));  // ties: consecutive ranks
    EXPECT_EQ(column(0), (Names{"1", "2", "3", "4", "5", "6", "7", "8"}));
    EXPECT_EQ(doc.table.cell(0, 1), "姓名");
    EXPECT_TRUE(doc.modified());
    EXPECT_FALSE(doc.undoAvailable());  // the sort takes no snapshot
}

TEST_F(SortRowsTest, AscendingIsStableAndLeavesOtherColumnsAlone) {
    ASSERT_TRUE(SortRows(doc, 2, false));
    EXPECT_EQ(column(1), (Names{"周九", "吴十", "张三", "王五", "李四", "孙八", "钱七", "赵六"}));
    EXPECT_EQ(column(2), (Names{"-3", ".5", "85", "85", "92", " 100 ", "缺考", ""}));
    EXPECT_EQ(column(3), Names(8, "旧"));
}

TEST_F(SortRowsTest, TiesKeepTheirOrderInLargeTables) {
    GradeTable& t = doc.table;
    t.setRows(301);
    for (int r = 1; r <= 300; ++r) {
        t.setCell(r, 1, std::to_string(r));
        t.setCell(r, 2, std::to_string(r % 3));
    }
    ASSERT_TRUE(SortRows(doc, 2, true, 3));
    int last[3] = {0, 0, 0};
    for (int r = 1; r <= 300; ++r) {
        int key = std::stoi(t.cell(r, 2));
        int original = std::stoi(t.cell(r, 1));
        EXPECT_EQ(key, 2 - (r - 1) / 100) << r;
        EXPECT_GT(original, last[key]) << "row " << r << " broke the order of its tie";
        last[key] = original;
    }
}

TEST_F(SortRowsTest, TextsInGbkOrderWhichIsPinyinForCommonCharacters) {
    doc.table.setCell(4, 1, "abc");
    ASSERT_TRUE(SortRows(doc, 1, false));
    EXPECT_EQ(column(1), (Names{"abc", "李四", "钱七", "孙八", "王五", "吴十", "张三", "周九"}));
    ASSERT_TRUE(SortRows(doc, 1, true));
    EXPECT_EQ(column(1), (Names{"周九", "张三", "吴十", "王五", "孙八", "钱七", "李四", "abc"}));
}

TEST_F(SortRowsTest, FormulaCellsSortByTheirValueAndWholeRowsMoveWithTheirMarks) {
    GradeTable& t = doc.table;
    t.setHeaderLayout("  |姓名|语文|数学|总分|名次");
    const char* marks[][2] = {{"60", "70"}, {"90", "95"}, {"80", "5"}};
    t.setRows(4);
    for (int r = 1; r <= 3; ++r) {
        t.setCell(r, 2, marks[r - 1][0]);
        t.setCell(r, 3, marks[r - 1][1]);
        t.setCell(r, 4, std::string(kFormulaMarker) + "cell(?,2)+cell(?,3)");
        t.setCell(r, 5, "");
    }
    t.setMark(1, 1, {MarkColour::Red, true});
    ASSERT_TRUE(SortRows(doc, 4, true, 5));
    EXPECT_EQ(column(1), (Names{"李四", "张三", "王五"}));
    EXPECT_EQ(column(5), (Names{"1", "2", "3"}));
    EXPECT_EQ(公式2值(t, 1, 4), "185");
    EXPECT_EQ(公式2值(t, 3, 4), "85");
    EXPECT_EQ(t.mark(2, 1), (CellMark{MarkColour::Red, true}));
    EXPECT_EQ(t.mark(1, 1), CellMark{});

    // A total of 0 shows as nothing through "###.##", yet it is a number, not a blank cell: it sorts
    // with the numbers, and only the truly empty key goes last.
    t.setRows(6);
    t.setCell(4, 1, "赵六");
    t.setCell(4, 4, std::string(kFormulaMarker) + "cell(?,2)+cell(?,3)");
    t.setCell(5, 1, "孙八");
    ASSERT_EQ(公式2值(t, 4, 4), "");
    ASSERT_TRUE(SortRows(doc, 4, false));
    EXPECT_EQ(column(1), (Names{"赵六", "王五", "张三", "李四", "孙八"}));
    ASSERT_TRUE(SortRows(doc, 4, true));
    EXPECT_EQ(column(1), (Names{"李四", "张三", "王五", "赵六", "孙八"}));
}

TEST_F(SortRowsTest, ColumnsOutsideTheFieldsSortNothing) {
    EXPECT_FALSE(SortRows(doc, 0, false));
    EXPECT_FALSE(SortRows(doc, 4, false));
    EXPECT_FALSE(SortRows(doc, 2, false, 4));
    EXPECT_EQ(doc.table.cell(1, 1), "张三");
    EXPECT_FALSE(doc.modified());
}

TEST(SortDialog, FieldListsAndOpening) {
    ScriptedPrompter prompter;
    GradeTable fresh;
    EXPECT_FALSE(CheckSortable(fresh, prompter));
    GradeTable noFields;
    noFields.setHeaderLayout("  ");
    EXPECT_FALSE(CheckSortable(noFields, prompter));
    ASSERT_EQ(prompter.messages().size(), 2u);
    EXPECT_EQ(prompter.messages()[0], "没有可供排序的字段！");
    EXPECT_EQ(prompter.last().title, "提示");
    EXPECT_EQ(prompter.last().icon, Icon::Information);

    GradeTable t;
    t.setHeaderLayout("  |姓名|语文|数学|名次");
    EXPECT_TRUE(CheckSortable(t, prompter));
    EXPECT_EQ(prompter.calls().size(), 2u);
    EXPECT_EQ(SortFieldList(t), (std::vector<std::string>{"姓名", "语文", "数学", "名次"}));

    SortChoice c = InitialSortChoice(t, 3, true);
    EXPECT_EQ(c.sortField, 2);  // column 3 is list index 2
    EXPECT_TRUE(c.descending);
    EXPECT_FALSE(c.writeRanks);
    EXPECT_EQ(c.rankField, 3);
    EXPECT_EQ(InitialSortChoice(t, 0, false).sortField, 0);
}

TEST(SortDialog, KeepingTheTwoFieldsApart) {
    ScriptedPrompter prompter;
    SortChoice c{1, false, true, 1};
    EXPECT_TRUE(KeepSortFieldsApart(c, 4, prompter));
    EXPECT_EQ(c.rankField, 2);
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(prompter.messages()[0], "排序结果不可写回原字段！");
    EXPECT_EQ(prompter.last().title, "提示");

    c = {3, false, true, 3};  // the last field: move back
    EXPECT_TRUE(KeepSortFieldsApart(c, 4, prompter));
    EXPECT_EQ(c.rankField, 2);

    c = {3, false, false, 3};  // ranks not written: nothing to keep apart
    EXPECT_FALSE(KeepSortFieldsApart(c, 4, prompter));
    c = {1, false, true, 2};
    EXPECT_FALSE(KeepSortFieldsApart(c, 4, prompter));

    c = {0, false, true, 0};  // one field only: no neighbour, the box is unticked
    EXPECT_TRUE(KeepSortFieldsApart(c, 1, prompter));
    EXPECT_FALSE(c.writeRanks);
    EXPECT_EQ(prompter.messages().size(), 3u);
}

TEST_F(SortRowsTest, RunSortTakesListIndexes) {
    ASSERT_TRUE(RunSort(doc, SortChoice{1, true, true, 2}));  // list 1 = 成绩, 2 = 名次
    EXPECT_EQ(column(1).front(), "孙八");
    EXPECT_EQ(column(3).front(), "1");
    ASSERT_TRUE(RunSort(doc, SortChoice{0, false, false, 2}));
    EXPECT_EQ(column(1).front(), "李四");
    EXPECT_EQ(column(3).front(), "2");  // ranks not rewritten: 李四 keeps the 2 of the first sort
}

}  // namespace
}  // namespace scorvane
