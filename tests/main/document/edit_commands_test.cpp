#include "main/document/edit_commands.h"

#include <gtest/gtest.h>

#include "main/document/class_info.h"
#include "support/sample_table.h"

namespace scorvane {
namespace {

using testing::RowCells;
using testing::SampleDocument;
using testing::Strings;

Document ThreeByThree() {
    return SampleDocument({"A", "B", "C"}, {{"a1", "b1", "c1"}, {"a2", "b2", "c2"}, {"a3", "b3", "c3"}});
}

TEST(ClipboardTest, CopyCutAndPasteUseTheFarCornerCellOnly) {
    Document doc = ThreeByThree();
    EXPECT_EQ(CopyCell(doc.table, {1, 1, 2, 3}), "c2");
    EXPECT_EQ(CopyCell(doc.table, {3, 3, 1, 2}), "b1");
    EXPECT_FALSE(doc.undoAvailable());
    EXPECT_EQ(CutCell(doc, {1, 1, 2, 2}), "b2");
    EXPECT_EQ(RowCells(doc.table, 2), (Strings{"a2", "", "c2"}));
    EXPECT_TRUE(doc.modified() && doc.undoAvailable());
    PasteCell(doc, {3, 3, 1, 1}, "第一行\r\n第二行\n第三行");
    EXPECT_EQ(doc.table.cell(1, 1), "第一行\r\n第二行\n第三行");
    EXPECT_EQ(doc.table.rows(), 4);
    // Undo is one level: it returns to the state after the cut.
    doc.undo();
    EXPECT_EQ(doc.table.cell(1, 1), "a1");
    EXPECT_EQ(doc.table.cell(2, 2), "");
    // The row numbers are only copied, never emptied or overwritten.
    EXPECT_EQ(CutCell(doc, GridSelection::cell(2, 0)), "2");
    PasteCell(doc, GridSelection::cell(1, 0), "99");
    EXPECT_EQ(doc.table.cell(2, 0) + doc.table.cell(1, 0), "21");
}

TEST(DeleteTest, EmptiesTheWholeRectangleWhicheverCornerItStartedFrom) {
    for (GridSelection selection : {GridSelection{2, 2, 3, 3}, GridSelection{3, 3, 2, 2},
                                    GridSelection{3, 2, 2, 3}, GridSelection{2, 3, 3, 2}}) {
        Document doc = ThreeByThree();
        DeleteCells(doc, selection);
        EXPECT_EQ(RowCells(doc.table, 1), (Strings{"a1", "b1", "c1"}));
        EXPECT_EQ(RowCells(doc.table, 2), (Strings{"a2", "", ""}));
        EXPECT_EQ(RowCells(doc.table, 3), (Strings{"a3", "", ""}));
        EXPECT_TRUE(doc.modified());
        doc.undo();
        EXPECT_EQ(RowCells(doc.table, 3), (Strings{"a3", "b3", "c3"}));
    }
    Document doc = ThreeByThree();
    DeleteCells(doc, {0, 0, 1, 1});
    EXPECT_EQ(doc.table.cell(0, 1) + doc.table.cell(1, 0) + doc.table.cell(1, 1), "A1");
    EXPECT_EQ(SelectAll(doc.table), (GridSelection{1, 1, 3, 3}));
    EXPECT_FALSE(SelectAll(SampleDocument({"A"}, {}).table).has_value());
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
    EXPECT_EQ(doc.table.cell(35, 0), "35");
    EXPECT_FALSE(UndoLastChange(doc));
}

}  // namespace
}  // namespace scorvane
