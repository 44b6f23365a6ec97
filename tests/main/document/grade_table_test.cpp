#include "main/document/grade_table.h"

#include <gtest/gtest.h>

#include "main/document/document.h"

namespace scorvane {
namespace {

TEST(GradeTable, FreshTableAndFlatIndex) {
    GradeTable t;
    EXPECT_EQ(t.rows(), 2);
    EXPECT_EQ(t.cols(), 2);
    EXPECT_EQ(t.title, "未命名的表格");
    EXPECT_EQ(t.dataFormat, "###.##");
    t.resize(4, 5);
    EXPECT_EQ(t.faIndex(2, 3), 13);
    t.setCols(6);
    EXPECT_EQ(t.faIndex(2, 3), 15);
}

TEST(GradeTable, ResizingKeepsCellsAtTheirRowAndColumn) {
    GradeTable t(3, 3);
    t.setCell(1, 1, "a");
    t.setCell(2, 2, "b");
    t.setCols(5);
    EXPECT_EQ(t.cell(1, 1), "a");
    EXPECT_EQ(t.cell(2, 2), "b");
    EXPECT_EQ(t.cell(2, 4), "");
    t.setRows(2);
    EXPECT_EQ(t.rows(), 2);
    t.setRows(3);
    EXPECT_EQ(t.cell(2, 2), "");  // the dropped row comes back empty
    t.setCols(2);
    EXPECT_EQ(t.cell(1, 1), "a");
}

TEST(GradeTable, HeaderLayoutStringSetsCountsAndTitlesOnly) {
    GradeTable t(3, 2);
    t.setCell(1, 1, "85");
    t.setHeaderLayout("  |姓名|语文|数学");
    EXPECT_EQ(t.cols(), 4);
    EXPECT_EQ(t.cell(0, 0), "  ");
    EXPECT_EQ(t.cell(0, 3), "数学");
    EXPECT_EQ(t.cell(1, 1), "85");  // data stay where they were
    EXPECT_EQ(t.headerLayout(), "  |姓名|语文|数学");
    EXPECT_EQ(t.fieldTitles(), (std::vector<std::string>{"姓名", "语文", "数学"}));

    t.setHeaderLayout("   |A");
    EXPECT_EQ(t.cols(), 2);
    EXPECT_EQ(t.cell(0, 0), "   ");
    EXPECT_EQ(t.cell(1, 1), "85");

    t.setCell(0, 1, "");
    EXPECT_EQ(t.composeHeaderLayout(true), "  |   ");
    EXPECT_EQ(t.composeHeaderLayout(false), "  |");
    t.setHeaderLayout("");  // no segments but the corner: no fields
    EXPECT_EQ(t.cols(), 1);
}

TEST(GradeTable, ExplicitWidthsLastUntilTheNextHeaderLayout) {
    GradeTable t(3, 3);
    t.setColumnWidth(2, 2000);
    t.setRowHeight(1, 600);
    EXPECT_EQ(t.columnWidth(2), 2000);
    uint64_t generation = t.layoutGeneration();
    t.setHeaderLayout("  |a|b");
    EXPECT_EQ(t.columnWidth(2), 0);
    EXPECT_EQ(t.rowHeight(1), 600);
    EXPECT_GT(t.layoutGeneration(), generation);
}

TEST(GradeTable, MarksFollowResizingAndClear) {
    GradeTable t(3, 3);
    t.setMark(2, 2, {MarkColour::Red, true});
    t.setCols(4);
    EXPECT_EQ(t.mark(2, 2), (CellMark{MarkColour::Red, true}));
    EXPECT_EQ(t.mark(1, 1), CellMark{});
    t.clearMarks();
    EXPECT_FALSE(t.hasMarks());
    EXPECT_EQ(t.mark(2, 2), CellMark{});
    EXPECT_EQ(t.mark(99, 99), CellMark{});
}

TEST(GradeTable, RenumberAndEmptyTables) {
    GradeTable t(4, 1);
    t.setCell(1, 0, "x");
    t.renumber();
    EXPECT_EQ(t.cell(1, 0), "1");
    EXPECT_EQ(t.cell(3, 0), "3");
    GradeTable none(1, 1);
    none.renumber();
    EXPECT_TRUE(none.fieldTitles().empty());
}

TEST(Document, UndoRestoresCountsDataAndTitlesButNotColumnZero) {
    Document d;
    d.table.resize(3, 3);
    d.table.setHeaderLayout("  |A|B");
    d.table.setCell(1, 1, "85");
    d.table.setCell(2, 0, "2");
    EXPECT_FALSE(d.undoAvailable());
    EXPECT_FALSE(d.undo());

    d.takeSnapshot();
    EXPECT_TRUE(d.undoAvailable());
    d.table.setRows(2);                   // lower the class size
    d.table.setHeaderLayout("  |A|B|C");  // and add a field
    d.table.setCell(1, 1, "90");
    ASSERT_TRUE(d.undo());
    EXPECT_EQ(d.table.rows(), 3);
    EXPECT_EQ(d.table.cols(), 3);
    EXPECT_EQ(d.table.cell(1, 1), "85");
    EXPECT_EQ(d.table.cell(0, 2), "B");
    EXPECT_EQ(d.table.cell(2, 0), "");  // column 0 is not in the snapshot
    EXPECT_FALSE(d.undoAvailable());
    EXPECT_FALSE(d.modified());  // undo leaves the modified flag alone

    // A fresh table has no header layout string yet: undo must still bring back its titles, and must
    // not leave a string of the undone change behind for the next undo to restore.
    Document fresh;
    fresh.takeSnapshot();
    fresh.table.setHeaderLayout("  |新|   ");
    fresh.table.setCell(1, 1, "85");
    ASSERT_TRUE(fresh.undo());
    EXPECT_EQ(fresh.table.cols(), 2);
    EXPECT_EQ(fresh.table.fieldTitles(), (std::vector<std::string>{""}));
    EXPECT_EQ(fresh.table.headerLayout(), "");
    fresh.takeSnapshot();
    ASSERT_TRUE(fresh.undo());
    EXPECT_EQ(fresh.table.cols(), 2);
}

TEST(Document, TellsItsListenerEachTimeUndoBecomesAvailableOrNot) {
    Document d;
    std::vector<bool> told;
    d.setUndoListener([&](bool available) { told.push_back(available); });
    d.takeSnapshot();
    d.takeSnapshot();
    d.editorGotFocus();
    d.takeEditorSnapshot();
    d.editorLostFocus();
    d.undo();
    d.undo();
    // No snapshot since the undo: the editor letting go leaves Undo unavailable.
    d.editorGotFocus();
    d.editorLostFocus();
    EXPECT_EQ(told, (std::vector<bool>{true, false, true, false}));
}

TEST(Document, EditorSnapshotWaitsForTheEditorToLetGo) {
    Document d;
    d.table.setCell(1, 1, "a");
    d.takeEditorSnapshot();
    d.editorGotFocus();
    EXPECT_FALSE(d.undoAvailable());
    d.table.setCell(1, 1, "b");
    d.editorLostFocus();
    EXPECT_TRUE(d.undoAvailable());
    // A second change replaces the snapshot: undo returns to the state after the first change.
    d.takeSnapshot();
    d.table.setCell(1, 1, "c");
    d.undo();
    EXPECT_EQ(d.table.cell(1, 1), "b");
}

}  // namespace
}  // namespace scorvane
