#include "main/document/edit_commands.h"

#include <gtest/gtest.h>

#include "main/document/class_info.h"
#include "sample_table.h"

namespace scorvane {
namespace {

using testing::RowCells;
using testing::SampleDocument;
using testing::Strings;

Document ThreeByThree() {
    return SampleDocument({"A", "B", "C"}, {{"a1", "b1", "c1"}, {"a2", "b2", "c2"}, {"a3", "b3", "c3"}});
}

TEST(ClipboardTest, CopyTakesOnlyTheFarCornerCellOfARange) {
    Document doc = ThreeByThree();
    EXPECT_EQ(CopyCell(doc.table, {1, 1, 2, 3}), "c2");
    EXPECT_EQ(CopyCell(doc.table, {3, 3, 1, 2}), "b1");
    EXPECT_EQ(CopyCell(doc.table, GridSelection::cell(2, 1)), "a2");
    EXPECT_EQ(CopyCell(doc.table, GridSelection::cell(9, 9)), "");
    EXPECT_FALSE(doc.undoAvailable());
}

TEST(ClipboardTest, CutEmptiesTheFarCornerCellAfterTheSnapshot) {
    Document doc = ThreeByThree();
    EXPECT_EQ(CutCell(doc, {1, 1, 2, 2}), "b2");
    EXPECT_EQ(RowCells(doc.table, 2), (Strings{"a2", "", "c2"}));
    EXPECT_EQ(doc.table.cell(1, 1), "a1");
    EXPECT_TRUE(doc.modified());
    ASSERT_TRUE(doc.undoAvailable());
    doc.undo();
    EXPECT_EQ(doc.table.cell(2, 2), "b2");
    // The row numbers are only copied, never emptied.
    EXPECT_EQ(CutCell(doc, GridSelection::cell(2, 0)), "2");
    EXPECT_EQ(doc.table.cell(2, 0), "2");
}

TEST(ClipboardTest, PastePutsTheWholeTextWithItsLineBreaksIntoOneCell) {
    Document doc = ThreeByThree();
    PasteCell(doc, {3, 3, 1, 1}, "第一行\r\n第二行\n第三行");
    EXPECT_EQ(doc.table.cell(1, 1), "第一行\r\n第二行\n第三行");
    EXPECT_EQ(RowCells(doc.table, 2), (Strings{"a2", "b2", "c2"}));
    EXPECT_EQ(doc.table.rows(), 4);
    EXPECT_TRUE(doc.modified());
    doc.undo();
    EXPECT_EQ(doc.table.cell(1, 1), "a1");

    Document untouched = ThreeByThree();
    PasteCell(untouched, GridSelection::cell(1, 0), "99");
    EXPECT_EQ(untouched.table.cell(1, 0), "1");
    EXPECT_FALSE(untouched.modified());
}

TEST(DeleteTest, EmptiesTheWholeRectangleWhicheverCornerItStartedFrom) {
    const Strings untouchedRow1{"a1", "b1", "c1"};
    for (GridSelection selection : {GridSelection{2, 2, 3, 3}, GridSelection{3, 3, 2, 2},
                                    GridSelection{3, 2, 2, 3}, GridSelection{2, 3, 3, 2}}) {
        Document doc = ThreeByThree();
        DeleteCells(doc, selection);
        EXPECT_EQ(RowCells(doc.table, 1), untouchedRow1);
        EXPECT_EQ(RowCells(doc.table, 2), (Strings{"a2", "", ""}));
        EXPECT_EQ(RowCells(doc.table, 3), (Strings{"a3", "", ""}));
        EXPECT_TRUE(doc.modified());
        doc.undo();
        EXPECT_EQ(RowCells(doc.table, 3), (Strings{"a3", "b3", "c3"}));
    }
}

TEST(DeleteTest, LeavesTitlesAndRowNumbersAndStillTakesTheSnapshot) {
    Document doc = ThreeByThree();
    DeleteCells(doc, {0, 0, 1, 1});
    EXPECT_EQ(doc.table.cell(0, 1), "A");
    EXPECT_EQ(doc.table.cell(1, 0), "1");
    EXPECT_EQ(doc.table.cell(1, 1), "");
    DeleteCells(doc, {2, 0, 3, 0});
    EXPECT_EQ(doc.table.cell(2, 0), "2");
    EXPECT_TRUE(doc.undoAvailable());
    Document empty = SampleDocument({"A"}, {{""}});
    DeleteCells(empty, GridSelection::cell(1, 1));
    EXPECT_FALSE(empty.modified());
    EXPECT_TRUE(empty.undoAvailable());
}

TEST(SelectAllTest, CoversEveryDataCell) {
    Document doc = ThreeByThree();
    EXPECT_EQ(SelectAll(doc.table), (GridSelection{1, 1, 3, 3}));
    EXPECT_EQ(PositionText(1, 1), "行:1列:1");
    EXPECT_EQ(PositionText(3, 2), "行:3列:2");
    EXPECT_FALSE(SelectAll(SampleDocument({"A"}, {}).table).has_value());
    EXPECT_FALSE(SelectAll(SampleDocument({}, {{}}).table).has_value());
}

TEST(UndoTest, ASecondChangeReplacesTheSnapshotAndUndoIsOneLevel) {
    Document doc = ThreeByThree();
    EXPECT_FALSE(UndoLastChange(doc));
    PasteCell(doc, GridSelection::cell(1, 1), "first");
    PasteCell(doc, GridSelection::cell(1, 1), "second");
    EXPECT_TRUE(UndoLastChange(doc));
    EXPECT_EQ(doc.table.cell(1, 1), "first");
    EXPECT_FALSE(UndoLastChange(doc));
    EXPECT_EQ(doc.table.cell(1, 1), "first");
}

TEST(UndoTest, UndoAfterLoweringTheClassSizeBringsTheRowsBackWithoutTheirNumbers) {
    Document doc = SampleDocument({"姓名"}, {});
    ClassInfoValues values;
    ConfirmClassInfo(doc, values, "40", "", "");
    for (int r = 1; r <= 40; ++r) {
        doc.table.setCell(r, 1, "学生" + std::to_string(r));
    }
    OpenClassInfo(doc, values);
    EXPECT_EQ(values.classSize, 40);
    ConfirmClassInfo(doc, values, "35", "王老师", "");
    EXPECT_EQ(doc.table.rows(), 36);
    ASSERT_TRUE(UndoLastChange(doc));
    EXPECT_EQ(doc.table.rows(), 41);
    EXPECT_EQ(doc.table.cell(40, 1), "学生40");
    EXPECT_EQ(doc.table.cell(36, 1), "学生36");
    EXPECT_EQ(doc.table.cell(35, 0), "35");
    EXPECT_EQ(doc.table.cell(36, 0), "");  // column 0 is not kept by the snapshot
    EXPECT_EQ(doc.table.cell(40, 0), "");
}

}  // namespace
}  // namespace scorvane
