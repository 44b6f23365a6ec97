#include <gtest/gtest.h>

#include "main/formula/find_text.h"
#include "main/formula/formula_cell.h"
#include "main/formula/replace_text.h"
#include "support/sample_table.h"

namespace scorvane {
namespace {

// Fields 姓名 备注 and a third titled "85", which is never searched.
class FindReplaceTest : public ::testing::Test {
  protected:
    Document doc = testing::SampleDocument(
        {"姓名", "备注", "85"}, {{"张三", "85", "185"}, {"李四", "", "分分a分"}, {"王五", "85分", "85"}});
    const CellMark none{};
};

TEST_F(FindReplaceTest, ExactMatchesRedPartialMatchesBlueRowsListedOnce) {
    FindOptions o{true, true, false, true};
    FindResult found = FindInTable(doc, "85", o);
    const GradeTable& t = doc.table;
    EXPECT_EQ(t.mark(1, 2), (CellMark{MarkColour::Red, true}));
    EXPECT_EQ(t.mark(1, 3), (CellMark{MarkColour::Blue, true}));
    EXPECT_EQ(t.mark(3, 2), (CellMark{MarkColour::Blue, true}));
    EXPECT_EQ(t.mark(3, 3), (CellMark{MarkColour::Red, true}));
    EXPECT_EQ(t.mark(0, 3), none);  // the title "85" is never searched
    EXPECT_EQ(found.summary, "共 2 行包含查找内容。");
    EXPECT_EQ(found.items,
              (std::vector<FindResultItem>{{1, "1: 第 1 行。“张三；85”"}, {3, "2: 第 3 行。“王五；85分”"}}));
    EXPECT_FALSE(doc.modified());
}

TEST_F(FindReplaceTest, WholeCellModeAndUnchosenColours) {
    FindInTable(doc, "85", FindOptions{true, false, false, true});
    FindResult found = FindInTable(doc, "185", FindOptions{false, false, true, true});
    EXPECT_EQ(found.items.size(), 1u);                                     // listed although not coloured
    EXPECT_EQ(doc.table.mark(1, 3), (CellMark{MarkColour::Blue, false}));  // a match keeps its mark
    EXPECT_EQ(doc.table.mark(1, 2), none);  // the earlier search's marks are gone

    found = FindInTable(doc, "85", FindOptions{true, false, true, true});
    EXPECT_EQ(doc.table.mark(1, 2), (CellMark{MarkColour::Red, false}));
    EXPECT_EQ(doc.table.mark(1, 3), none);  // "185" is no whole-cell match; blue is off in this mode
    EXPECT_EQ(doc.table.mark(3, 2), none);
    ASSERT_EQ(found.items.size(), 2u);
}

TEST_F(FindReplaceTest, AMatchWhoseColourIsNotChosenKeepsItsMarkAndOnlyOtherCellsAreCleared) {
    const CellMark redBold{MarkColour::Red, true};
    const CellMark blueBold{MarkColour::Blue, true};
    FindInTable(doc, "85", FindOptions{true, true, false, true});
    FindResult found = FindInTable(doc, "85", FindOptions{false, false, false, false});
    EXPECT_EQ(found.items.size(), 2u);
    EXPECT_EQ(doc.table.mark(1, 2), redBold);   // exact, red not chosen
    EXPECT_EQ(doc.table.mark(1, 3), blueBold);  // partial, blue not chosen
    EXPECT_EQ(doc.table.mark(3, 3), redBold);

    // A chosen colour is given with the bold box as it stands now; the unchosen one keeps its mark.
    FindInTable(doc, "85", FindOptions{true, false, false, false});
    EXPECT_EQ(doc.table.mark(1, 2), (CellMark{MarkColour::Red, false}));
    EXPECT_EQ(doc.table.mark(3, 2), blueBold);

    // Whole-cell mode: a partial match is no match, so it is cleared.
    FindInTable(doc, "85", FindOptions{false, false, true, false});
    EXPECT_EQ(doc.table.mark(3, 2), none);
    EXPECT_EQ(doc.table.mark(1, 2), (CellMark{MarkColour::Red, false}));
    FindInTable(doc, "张三", FindOptions{false, false, false, false});
    EXPECT_EQ(doc.table.mark(1, 2), none);
}

TEST_F(FindReplaceTest, ASecondSearchStartsAfreshAndNothingFoundIsEmpty) {
    FindInTable(doc, "85", FindOptions{true, true, false, true});
    FindResult found = FindInTable(doc, "李四", FindOptions{true, false, false, false});
    EXPECT_EQ(found.items, (std::vector<FindResultItem>{{2, "1: 第 2 行。“李四；”"}}));
    EXPECT_EQ(doc.table.mark(2, 1), (CellMark{MarkColour::Red, false}));
    EXPECT_EQ(doc.table.mark(1, 2), none);
    EXPECT_EQ(doc.table.mark(3, 3), none);

    found = FindInTable(doc, "3", FindOptions{true, false, false, true});  // only column 0 holds "3"
    EXPECT_EQ(found.summary, "(空)");
    EXPECT_TRUE(found.items.empty());
    EXPECT_EQ(doc.table.mark(2, 1), none);
    EXPECT_TRUE(FindInTable(doc, "", FindOptions{true, false, false, true}).items.empty());
}

TEST_F(FindReplaceTest, CaptionsShortenLongTexts) {
    const std::string long23 = "一二三四五六七八九十壹贰叁肆伍陆柒捌玖拾佰仟万";  // 23 characters
    const std::string long22 = "abcdefghijklmnopqrstuv";                          // 22 characters
    EXPECT_EQ(FindResultCaption(4, 17, long23, long22),
              "4: 第 17 行。“一二三四五六七八...陆柒捌玖拾佰仟万；abcdefghijklmnopqrstuv”");
    doc.table.setCell(2, 1, long23);
    doc.table.setCell(2, 2, long23 + "x");
    FindResult found = FindInTable(doc, "万", FindOptions{});
    ASSERT_EQ(found.items.size(), 1u);
    EXPECT_EQ(found.items[0].caption,
              "1: 第 2 行。“一二三四五六七八...陆柒捌玖拾佰仟万；一二三四五六七八...柒捌玖拾佰仟万x”");
}

TEST_F(FindReplaceTest, FormulasAreSearchedAsTextAndMarksClear) {
    doc.table.setCell(2, 2, std::string(kFormulaMarker) + "cell(?,3)");
    FindResult found = FindInTable(doc, "cell", FindOptions{false, true, false, true});
    ASSERT_EQ(found.items.size(), 1u);
    EXPECT_EQ(found.items[0].row, 2);
    EXPECT_EQ(doc.table.mark(2, 2), (CellMark{MarkColour::Blue, true}));
    ClearFindMarks(doc);
    EXPECT_EQ(doc.table.mark(2, 2), none);
    EXPECT_FALSE(doc.table.hasMarks());
}

TEST_F(FindReplaceTest, ReplaceWholeCells) {
    EXPECT_EQ(ReplaceInTable(doc, "85", "90", true), 2);
    EXPECT_EQ(doc.table.cell(1, 2), "90");
    EXPECT_EQ(doc.table.cell(3, 3), "90");
    EXPECT_EQ(doc.table.cell(1, 3), "185");
    EXPECT_EQ(doc.table.cell(0, 3), "85");  // titles are not data
    EXPECT_TRUE(doc.modified());
    // An empty search text fills the empty data cells.
    EXPECT_EQ(ReplaceInTable(doc, "", "缺", true), 1);
    EXPECT_EQ(doc.table.cell(2, 2), "缺");
    EXPECT_EQ(doc.table.cell(0, 0), "  ");
}

TEST_F(FindReplaceTest, ReplaceInsideCells) {
    EXPECT_EQ(ReplaceInTable(doc, "", "x", false), 0);  // an empty search text changes nothing
    EXPECT_FALSE(doc.modified());
    EXPECT_EQ(ReplaceInTable(doc, "分", "", false), 2);
    EXPECT_EQ(doc.table.cell(2, 3), "a");
    EXPECT_EQ(doc.table.cell(3, 2), "85");
    EXPECT_TRUE(doc.modified());
    // Left to right, inserted text never searched again.
    doc.table.setCell(2, 3, "aaa");
    ReplaceInTable(doc, "aa", "b", false);
    EXPECT_EQ(doc.table.cell(2, 3), "ba");
    // Formulas are text here.
    doc.table.setCell(2, 3, std::string(kFormulaMarker) + "cell(?,2)");
    ReplaceInTable(doc, "?,2", "?,1", false);
    EXPECT_EQ(doc.table.cell(2, 3), std::string(kFormulaMarker) + "cell(?,1)");
}

TEST_F(FindReplaceTest, UndoReturnsToBeforeTheReplaceWindowOpened) {
    EXPECT_TRUE(CanReplace("", "x"));
    EXPECT_TRUE(CanReplace("x", ""));
    EXPECT_FALSE(CanReplace("", ""));
    BeginReplace(doc);
    ReplaceInTable(doc, "85", "90", false);
    ReplaceInTable(doc, "90", "95", false);
    EXPECT_EQ(doc.table.cell(1, 3), "195");
    ASSERT_TRUE(doc.undo());
    EXPECT_EQ(doc.table.cell(1, 3), "185");
    EXPECT_EQ(doc.table.cell(3, 2), "85分");
}

}  // namespace
}  // namespace scorvane
